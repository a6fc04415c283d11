#include "ui/helpsystem.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>

namespace dravin {
namespace {

struct State {
    QString helpFile;
    std::shared_ptr<HelpViewer> viewer = std::make_shared<BrowserHelpViewer>();
};

State& state() {
    static State s;
    return s;
}

}  // namespace

QString HelpSystem::helpFile() {
    return state().helpFile;
}

void HelpSystem::setHelpFile(const QString& file) {
    state().helpFile = file;
}

void HelpSystem::setViewer(std::shared_ptr<HelpViewer> viewer) {
    state().viewer = viewer ? std::move(viewer) : std::make_shared<BrowserHelpViewer>();
}

void HelpSystem::ShowHelpTopic(const QString& topic) {
    state().viewer->showTopic(state().helpFile, topic);
}

void BrowserHelpViewer::showTopic(const QString& helpFile, const QString& topic) {
    if (helpFile.isEmpty() || !QFileInfo::exists(helpFile)) {
        QMessageBox::information(nullptr, "Βοήθεια",
                                 "Το αρχείο βοήθειας TELVO704.HLP δεν βρέθηκε.");
        return;
    }
    const QString page = QFileInfo(helpFile).absoluteDir().filePath("HLP/" + topic + ".html");
    if (!QFileInfo::exists(page)) {
        QMessageBox::information(nullptr, "Βοήθεια", "Το θέμα βοήθειας " + topic + " δεν βρέθηκε.");
        return;
    }
    auto* browser = new QTextBrowser;
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setWindowTitle("Βοήθεια");
    browser->setSource(QUrl::fromLocalFile(page));
    browser->resize(600, 450);
    browser->show();
}

}  // namespace dravin

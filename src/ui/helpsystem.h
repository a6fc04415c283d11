#pragma once

#include <QString>
#include <memory>

namespace dravin {

// Shows topics of a help file; the desktop's viewer opens HLP/<topic>.html beside it.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showTopic(const QString& helpFile, const QString& topic) = 0;
};

// The application's help file name and the viewer that shows its topics.
class HelpSystem {
public:
    static QString helpFile();
    static void setHelpFile(const QString& file);
    static void setViewer(std::shared_ptr<HelpViewer> viewer);
    // Passes the request on, also with an empty help file name: the viewer reports it.
    static void ShowHelpTopic(const QString& topic);
};

// Shows HLP/<topic>.html beside the help file in a small browser window, and says so
// when the file or the topic is missing.
class BrowserHelpViewer final : public HelpViewer {
public:
    void showTopic(const QString& helpFile, const QString& topic) override;
};

}  // namespace dravin

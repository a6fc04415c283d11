#include <gtest/gtest.h>

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/helpsystem.h"
#include "ui/tdravinabout.h"
#include "ui/tformclosehelp.h"
#include "ui/tformclosehelplove.h"
#include "ui/tformtopclosehelplove.h"
#include "uifixture.h"

namespace dravin::test {
namespace {

TEST(WindowBaseTest, CloseAndHelpButtons) {
    TFormCloseHelp form;
    EXPECT_EQ(form.CloseBtn->text(), "OK");
    EXPECT_EQ(form.CloseBtn->toolTip(), "κλείσιμο παράθυρου");
    EXPECT_EQ(form.HelpBtn->text(), "Βοήθεια");
    EXPECT_EQ(form.HelpBtn->toolTip(), "βοήθεια για το θέμα");
    EXPECT_EQ(form.extraPRBtn->text(), "Εκτ/ση");
    EXPECT_EQ(form.extraPRBtn->toolTip(), "εκτύπωση");
    EXPECT_TRUE(form.windowTitle().isEmpty());
    EXPECT_EQ(form.Panel2->height(), 47);
    EXPECT_EQ(form.Panel3->width(), 174);

    form.show();
    EXPECT_FALSE(form.extraPRBtn->isVisible());
    EXPECT_FALSE(form.extraPRBtn->isEnabled());
    EXPECT_EQ(form.extraPRBtn->width(), 0);
    EXPECT_TRUE(form.CloseBtn->isVisible());
    EXPECT_TRUE(form.windowTitle().isEmpty());
}

TEST(WindowBaseTest, LegislationButton) {
    TFormCloseHelpLove form;
    EXPECT_EQ(form.CloseBtn->text(), "OK");
    EXPECT_EQ(form.LoveBtn->text(), "Νομ/σία");
    EXPECT_EQ(form.LoveBtn->toolTip(), "Νομοθεσία");
    EXPECT_EQ(form.Panel3->width(), 253);
    EXPECT_EQ(form.HelpBtn->geometry(), QRect(90, 9, 75, 25));
    EXPECT_EQ(form.LoveBtn->geometry(), QRect(168, 9, 75, 25));
}

TEST(WindowBaseTest, ButtonBarAtTheTop) {
    TFormTopCloseHelpLove form;
    form.show();
    EXPECT_EQ(form.Panel2->height(), 57);
    EXPECT_LT(form.Panel2->y(), form.Panel1->y());
    EXPECT_EQ(form.Panel3->width(), 161);
    EXPECT_EQ(form.CloseBtn->geometry(), QRect(0, 0, 50, 48));
    EXPECT_EQ(form.HelpBtn->geometry(), QRect(52, 0, 50, 48));
    EXPECT_EQ(form.LoveBtn->geometry(), QRect(104, 0, 50, 48));
}

TEST(WindowBaseTest, ClosedWithCloseButtonTheDialogAnswersOk) {
    TFormCloseHelp form;
    QTimer::singleShot(0, &form, [&form] { form.CloseBtn->click(); });
    EXPECT_EQ(execGuarded(form), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST(WindowBaseTest, HelpFileNameComesBackWhenTheWindowGoes) {
    HelpSystem::setHelpFile("FIRST.HLP");
    {
        TFormCloseHelp form;
        HelpSystem::setHelpFile("SECOND.HLP");
    }
    EXPECT_EQ(HelpSystem::helpFile(), "FIRST.HLP");
    HelpSystem::setHelpFile(QString());
}

TEST(WindowBaseTest, ShowingEndsTheHourglass) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    TFormCloseHelp form;
    form.show();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WindowBaseTest, DialogTakesTheOwnersIcon) {
    QWidget owner;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    owner.setWindowIcon(QIcon(picture));
    TFormCloseHelp form(&owner);
    EXPECT_EQ(form.windowIcon().cacheKey(), owner.windowIcon().cacheKey());
}

TEST(WindowBaseTest, AboutWindow) {
    TDravinAbout about;
    EXPECT_EQ(about.size(), QSize(295, 171));
    auto* product = about.findChild<QLabel*>("ProductName");
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->text(), "ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ ΚΑΙ ΠΟΣΟΣΤΩΝ ΔΑΠΑΝΩΝ");
    EXPECT_TRUE(product->font().bold());
    EXPECT_TRUE(product->font().underline());
    EXPECT_TRUE(product->wordWrap());
    auto* version = about.findChild<QLabel*>("Version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 01/01/2007");
    auto* ok = about.findChild<QPushButton*>("OKButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());

    QTimer::singleShot(0, ok, &QPushButton::click);
    EXPECT_EQ(execGuarded(about), QDialog::Accepted);
}

}  // namespace
}  // namespace dravin::test

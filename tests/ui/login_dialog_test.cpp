#include "grid/widget/ziv_edit.h"
#include "ui/login_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Runs `act` once the dialog is showing modally; a guard closes it should `act` fail to.
bool askWhileShowing(TfrmLogin &dialog, kstring &name, kstring &code,
                     const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, act);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
        ADD_FAILURE() << "the dialog did not close";
        dialog.reject();
    });
    guard.start(5000);
    return dialog.askLogin(name, code);
}

class LoginDialogTest : public ::testing::Test
{
protected:
    QLineEdit *userBox() const { return dialog.txtUsername->edit(); }
    void type(const char *user, const char *code)
    {
        QTest::keyClicks(userBox(), user);
        QTest::keyClicks(dialog.txtPassword, code);
    }

    TfrmLogin dialog;
    kstring name = "unchanged";
    kstring code = "unchanged";
};

TEST_F(LoginDialogTest, HasItsControls)
{
    EXPECT_EQ(dialog.windowTitle(), "Login");
    EXPECT_EQ(dialog.size(), QSize(250, 86));
    EXPECT_EQ(dialog.findChild<ZIVEdit *>("txtUsername")->editLabel(), "Username");
    EXPECT_EQ(dialog.findChild<QLabel *>("Label1")->text(), "Security code");
    EXPECT_EQ(dialog.findChild<QPushButton *>("btnLogin")->text(), "Login");
    EXPECT_EQ(dialog.findChild<QPushButton *>("btnCancel")->text(), "Cancel");
    EXPECT_TRUE(dialog.btnLogin->isDefault());
    EXPECT_FALSE(dialog.txtUsername->IsNatural());
    EXPECT_FALSE(dialog.txtUsername->IsDouble());
}

TEST_F(LoginDialogTest, EnterInEitherFieldLogsInWithTheTypedEntries)
{
    for (QWidget *field :
         {static_cast<QWidget *>(userBox()), static_cast<QWidget *>(dialog.txtPassword)}) {
        userBox()->clear();
        dialog.txtPassword->clear();
        const bool ok = askWhileShowing(dialog, name, code, [&] {
            type("Demo User&1", "s3cr=t");
            QTest::keyClick(field, Qt::Key_Return);
        });
        EXPECT_TRUE(ok) << field->objectName().toStdString();
        EXPECT_EQ(std::string(name), "Demo User&1");
        EXPECT_EQ(std::string(code), "s3cr=t");
    }
}

TEST_F(LoginDialogTest, TheSecurityCodeIsMasked)
{
    type("demo", "code");
    EXPECT_EQ(dialog.txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.txtPassword->displayText(), "****");
    EXPECT_EQ(userBox()->displayText(), "demo");
}

struct CancelCase
{
    const char *name;
    std::function<void(TfrmLogin &)> act;
};

class LoginDialogCancelTest : public LoginDialogTest,
                              public ::testing::WithParamInterface<CancelCase>
{
};

TEST_P(LoginDialogCancelTest, GivesCancelAndLeavesTheEntriesAlone)
{
    const bool ok = askWhileShowing(dialog, name, code, [&] {
        type("demo", "demo");
        GetParam().act(dialog);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::string(name), "unchanged");
    EXPECT_EQ(std::string(code), "unchanged");
    EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LoginDialogCancelTest,
    ::testing::Values(
        CancelCase{"Escape",
                   [](TfrmLogin &d) { QTest::keyClick(d.txtUsername->edit(), Qt::Key_Escape); }},
        CancelCase{"CancelButton",
                   [](TfrmLogin &d) { QTest::mouseClick(d.btnCancel, Qt::LeftButton); }},
        CancelCase{"TitleBarClose", [](TfrmLogin &d) { d.close(); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LoginDialogTest, ASecondShowingPresentsTheFirstEntries)
{
    ASSERT_TRUE(askWhileShowing(dialog, name, code, [&] {
        type("demo", "1234");
        QTest::mouseClick(dialog.btnLogin, Qt::LeftButton);
    }));
    QString shownUser;
    QString shownCode;
    QWidget *focused = nullptr;
    const bool ok = askWhileShowing(dialog, name, code, [&] {
        shownUser = userBox()->text();
        shownCode = dialog.txtPassword->text();
        focused = QApplication::focusWidget();
        QTest::keyClick(dialog.txtPassword, Qt::Key_Enter);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(shownUser, "demo");
    EXPECT_EQ(shownCode, "1234");
    EXPECT_EQ(focused, userBox());
    EXPECT_EQ(std::string(code), "1234");
}

} // namespace

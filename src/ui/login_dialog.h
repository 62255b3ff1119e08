#pragma once

#include "Engine/kstring.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ZIVEdit;

// Asks for the user name and the read-only security code of the game service. Created once,
// shown modally for each login; the entries stay for the next showing.
class TfrmLogin : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmLogin(QWidget *parent = nullptr);

    // Shows the dialog modally; true when the user pressed Login. Fills in the typed entries.
    // A non-empty `lastFailure` is shown above the fields: the login retries a failed request.
    bool askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure = {});

    // Empties the security code, so the next showing asks for it first.
    void forgetCode();
    kstring userName() const;
    kstring securityCode() const;

    ZIVEdit *txtUsername;
    QLabel *Label1;
    QLineEdit *txtPassword;
    QPushButton *btnLogin;
    QPushButton *btnCancel;
    QLabel *lblLastFailure;
    QCheckBox *chkRememberCode;

    // "Remember the code" is offered only where a keyring can take it; else the box is off and
    // its tooltip says why.
    void offerRemembering(const QString &unavailableReason);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void fitToContents();
};

// Created at start-up, hidden until a login is needed.
extern TfrmLogin *frmLogin;

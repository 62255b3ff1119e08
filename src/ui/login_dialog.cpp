#include "ui/login_dialog.h"

#include "grid/widget/ziv_edit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TfrmLogin *frmLogin = nullptr;

TfrmLogin::TfrmLogin(QWidget *parent)
    : QDialog(parent), txtUsername(new ZIVEdit(this)), Label1(new QLabel("Security code", this)),
      txtPassword(new QLineEdit(this)), btnLogin(new QPushButton("Login", this)),
      btnCancel(new QPushButton("Cancel", this))
{
    setObjectName("frmLogin");
    setWindowTitle("Login");
    txtUsername->setObjectName("txtUsername");
    txtUsername->setEditLabel("Username");
    Label1->setObjectName("Label1");
    Label1->setBuddy(txtPassword);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet("lineedit-password-character: 42"); // "*"
    btnLogin->setObjectName("btnLogin");
    btnLogin->setDefault(true);
    btnCancel->setObjectName("btnCancel");
    connect(btnLogin, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    buildLayout();
    setTabOrder(txtUsername, txtPassword);
    resize(250, 86);
}

// Both edit boxes start at the same offset: the wider of the two captions sets it.
void TfrmLogin::buildLayout()
{
    const int captionWidth =
        std::max(txtUsername->label()->sizeHint().width(), Label1->sizeHint().width());
    txtUsername->label()->setFixedWidth(captionWidth);
    Label1->setFixedWidth(captionWidth);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnLogin);
    buttons->addWidget(btnCancel);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(ZIVEdit::LabelSpacing);
    grid->addWidget(txtUsername, 0, 0, 1, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
}

// Every showing starts in the first field, whichever button closed the previous one.
void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtUsername->setFocus();
}

bool TfrmLogin::askLogin(kstring &name, kstring &code)
{
    if (exec() != QDialog::Accepted)
        return false;
    name = userName();
    code = securityCode();
    return true;
}

kstring TfrmLogin::userName() const
{
    return txtUsername->text().toStdString();
}

kstring TfrmLogin::securityCode() const
{
    return txtPassword->text().toStdString();
}

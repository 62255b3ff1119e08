#include "ui/login_dialog.h"

#include "grid/widget/ziv_edit.h"
#include "qt_text/qt_text.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TfrmLogin::TfrmLogin(QWidget *parent)
    : QDialog(parent), txtUsername(new ZIVEdit(this)), Label1(new QLabel("Security code", this)),
      txtPassword(new QLineEdit(this)), btnLogin(new QPushButton("Login", this)),
      btnCancel(new QPushButton("Cancel", this)), lblLastFailure(new QLabel(this)),
      chkRememberCode(new QCheckBox("Remember the code", this))
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
    lblLastFailure->setObjectName("lblLastFailure");
    lblLastFailure->setTextFormat(Qt::PlainText);
    lblLastFailure->setWordWrap(true);
    lblLastFailure->setVisible(false);
    chkRememberCode->setObjectName("chkRememberCode");
    buildLayout();
    setTabOrder(txtUsername, txtPassword);
    setTabOrder(txtPassword, chkRememberCode);
    setTabOrder(chkRememberCode, btnLogin);
    setTabOrder(btnLogin, btnCancel);
    fitToContents();
}

// The designed 250 x 86 is the least; a larger font, a larger scale or the failure line grow
// the dialog until nothing clips.
void TfrmLogin::fitToContents()
{
    layout()->activate();
    // The failure line wraps: room for about 45 characters of the font in use, and the height
    // its lines need at that width.
    const int lineWidth = lblLastFailure->isHidden() ? 0 : 45 * fontMetrics().averageCharWidth();
    const int width = std::max({250, layout()->minimumSize().width(), lineWidth});
    const int height =
        std::max({86, layout()->minimumSize().height(),
                  layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : 0});
    setMinimumSize(width, height);
    resize(width, height);
}

// Both edit boxes start at the same offset: the wider of the two captions sets it.
void TfrmLogin::buildLayout()
{
    const int captionWidth =
        std::max(txtUsername->label()->sizeHint().width(), Label1->sizeHint().width());
    txtUsername->label()->setFixedWidth(captionWidth);
    Label1->setFixedWidth(captionWidth);
    // Room for a typical entry at any font size.
    const int entryWidth = 12 * fontMetrics().averageCharWidth();
    txtUsername->edit()->setMinimumWidth(entryWidth);
    txtPassword->setMinimumWidth(entryWidth);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(std::max(6, fontMetrics().averageCharWidth()));
    buttons->addStretch();
    buttons->addWidget(btnLogin);
    buttons->addWidget(btnCancel);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(txtUsername->labelSpacing());
    grid->addWidget(lblLastFailure, 0, 0, 1, 2);
    grid->addWidget(txtUsername, 1, 0, 1, 2);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(txtPassword, 2, 1);
    grid->addWidget(chkRememberCode, 3, 1);
    grid->addLayout(buttons, 4, 0, 1, 2);
}

void TfrmLogin::offerRemembering(const QString &unavailableReason)
{
    const bool possible = unavailableReason.isEmpty();
    chkRememberCode->setEnabled(possible);
    if (!possible)
        chkRememberCode->setChecked(false);
    chkRememberCode->setToolTip(possible ? "Keeps the code in the desktop's keyring, not in a file."
                                         : unavailableReason);
}

// Every showing starts in the first field, whichever button closed the previous one, unless
// only the code is missing (a refused code was emptied).
void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    keepOnScreen(*this);
    const bool onlyTheCode = !txtUsername->text().isEmpty() && txtPassword->text().isEmpty();
    if (onlyTheCode)
        txtPassword->setFocus();
    else
        txtUsername->setFocus();
}

bool TfrmLogin::askLogin(kstring &name, kstring &code, const kstring &lastFailure)
{
    // Asked again because a request failed: say so, or the dialog seems to come back for no
    // reason.
    lblLastFailure->setVisible(!lastFailure.empty());
    lblLastFailure->setText(lastFailure.empty()
                                ? QString()
                                : "The last request failed: " + toQString(lastFailure) +
                                      " Log in again to retry.");
    fitToContents();
    if (exec() != QDialog::Accepted)
        return false;
    name = userName();
    code = securityCode();
    return true;
}

void TfrmLogin::forgetCode()
{
    txtPassword->clear();
}

kstring TfrmLogin::userName() const
{
    return toKstring(txtUsername->text());
}

kstring TfrmLogin::securityCode() const
{
    return toKstring(txtPassword->text());
}

#include "ui/message_dialog.h"

#include "qt_text/qt_text.h"
#include "ui/window_placement.h"

#include "ui/link_label.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

TfrmMessage::TfrmMessage(QWidget *parent)
    : QDialog(parent), txtMessage(new QTextEdit(this)), Panel1(new QFrame(this)),
      linkLabel(new LinkLabel(publisherHomePage, Panel1)),
      btnClose(
          new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), "Close", Panel1))
{
    setObjectName("frmMessage");
    setWindowTitle("Message from the developer");
    txtMessage->setObjectName("txtMessage");
    txtMessage->setReadOnly(true);
    txtMessage->setAcceptRichText(false);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(41);
    btnClose->setObjectName("btnClose");
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    // The link stays centred, the button at the right edge, whatever the width.
    auto *bottom = new QHBoxLayout(Panel1);
    bottom->addSpacing(btnClose->sizeHint().width());
    bottom->addStretch();
    bottom->addWidget(linkLabel);
    bottom->addStretch();
    bottom->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(txtMessage, 1);
    layout->addWidget(Panel1);
    resize(555, 308);
}

void TfrmMessage::showMessage(const kstring &message)
{
    txtMessage->clear();
    // Written as plain text: nothing the publisher sends is taken as markup.
    QTextCursor(txtMessage->document()).insertText(toQString(message));
    exec();
}

void TfrmMessage::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    keepOnScreen(*this);
}

#pragma once

#include "Engine/kstring.h"

#include <QDialog>

class LinkLabel;
class QFrame;
class QPushButton;
class QTextEdit;

// The box in which the publisher's message is shown.
class TfrmMessage : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMessage(QWidget *parent = nullptr);

    // Shows the message modally, as plain text with its lines kept; replaces the previous one.
    void showMessage(const kstring &message);

    QTextEdit *txtMessage;
    QFrame *Panel1;
    LinkLabel *linkLabel;
    QPushButton *btnClose;

protected:
    void showEvent(QShowEvent *event) override;
};

extern TfrmMessage *frmMessage;

#pragma once

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;

// The about box: the program's title with its version.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    QFrame *Panel3;
    QLabel *StaticText1;
    QLabel *imgVNTQ;
    QLabel *stStrikoraKey;
    LinkLabel *linkLabel;
    QFrame *Panel2;
    QPushButton *BitBtn1;

protected:
    void showEvent(QShowEvent *event) override;
};

extern TfrmAbout *frmAbout;

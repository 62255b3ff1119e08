#pragma once

#include <QDialog>

// The shared selection dialog of the team and match searches.
class TfrmSelectBase : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectBase(QWidget *parent = nullptr) : QDialog(parent) {}
};

extern TfrmSelectBase *frmSelectBase;

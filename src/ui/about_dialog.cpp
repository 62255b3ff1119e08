#include "ui/about_dialog.h"

#include "service/version_check.h"
#include "ui/link_label.h"
#include "ui/window_placement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QFrame *panel(const char *name, int height, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFixedHeight(height);
    return frame;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent)
    : QDialog(parent), Panel3(panel("Panel3", 57, this)), StaticText1(new QLabel(Panel3)),
      imgVNTQ(new QLabel(Panel3)), stStrikoraKey(new QLabel(this)),
      linkLabel(new LinkLabel(publisherHomePage, this)), Panel2(panel("Panel2", 41, this)),
      BitBtn1(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", Panel2))
{
    setObjectName("frmAbout");
    setWindowTitle("About StrikoraKey");

    StaticText1->setObjectName("StaticText1");
    StaticText1->setTextFormat(Qt::PlainText);
    StaticText1->setWordWrap(true);
    QFont statement = StaticText1->font();
    statement.setPointSize(8);
    StaticText1->setFont(statement);
    StaticText1->setAutoFillBackground(true);
    StaticText1->setStyleSheet("background: white; color: black; padding: 3px;");
    StaticText1->setText("This program uses information from the online game service Strikora. "
                         "The makers and owners of Strikora have approved this use.");
    imgVNTQ->setObjectName("imgVNTQ");
    imgVNTQ->setFixedWidth(120);
    imgVNTQ->setAlignment(Qt::AlignCenter);
    Q_INIT_RESOURCE(resources);
    imgVNTQ->setPixmap(QPixmap(":/images/badge.png"));
    auto *top = new QHBoxLayout(Panel3);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(StaticText1, 1);
    top->addWidget(imgVNTQ);

    stStrikoraKey->setObjectName("stStrikoraKey");
    stStrikoraKey->setTextFormat(Qt::PlainText);
    stStrikoraKey->setText("StrikoraKey 0.5");
    stStrikoraKey->setAlignment(Qt::AlignCenter);
    stStrikoraKey->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont title("Trebuchet MS");
    title.setStyleHint(QFont::SansSerif);
    title.setPixelSize(32);
    title.setBold(true);
    stStrikoraKey->setFont(title);
    stStrikoraKey->setStyleSheet("color: grey;");

    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout(Panel2);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    bottom->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel3);
    layout->addWidget(stStrikoraKey, 1);
    layout->addWidget(linkLabel);
    layout->addWidget(Panel2);
    setFixedSize(356, 157);

    // The design-time caption gives way to the build's own title.
    stStrikoraKey->setText(titleText().c_str());
}

void TfrmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    keepOnScreen(*this);
}

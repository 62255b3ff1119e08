#include "ui/link_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

LinkLabel::LinkLabel(const QString &link, QWidget *parent) : QLabel(parent), linkText(link)
{
    setObjectName("LinkLabel");
    setTextFormat(Qt::PlainText);
    setText(address());
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setStyleSheet("color: blue;");
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    QDesktopServices::openUrl(QUrl(address()));
    emit opened(address());
}

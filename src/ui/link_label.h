#pragma once

#include <QLabel>

// A label that opens "http://" + its link text in the system's browser when pressed.
// A failure to open is not reported.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString &linkText, QWidget *parent = nullptr);

    QString link() const { return linkText; }
    QString address() const { return QStringLiteral("http://") + linkText; }

signals:
    void opened(const QString &address);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString linkText;
};

// The publisher's home page, without the scheme.
inline constexpr const char *publisherHomePage = "www.strikorakey.example";

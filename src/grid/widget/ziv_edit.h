#pragma once

#include <QString>
#include <QWidget>

class QEvent;
class QLabel;
class QLineEdit;

// A one-line edit box with its caption label at the left that can restrict typing to the
// characters of a whole or a decimal number and reads and writes its text as a number.
class ZIVEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString EditLabel READ editLabel WRITE setEditLabel)
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool IsNatural READ IsNatural WRITE setIsNatural)
    Q_PROPERTY(bool IsDouble READ IsDouble WRITE setIsDouble)

public:
    // The gap in pixels between the label and the box.
    static constexpr int LabelSpacing = 3;

    explicit ZIVEdit(QWidget *parent = nullptr);

    QString editLabel() const;
    void setEditLabel(const QString &caption);
    QLabel *label() const { return captionLabel; }
    // The gap in use: LabelSpacing or more for a large font.
    int labelSpacing() const;
    QLineEdit *edit() const { return lineEdit; }

    QString text() const;
    void setText(const QString &text);

    bool IsNatural() const { return natural; }
    void setIsNatural(bool on) { natural = on; }
    bool IsDouble() const { return isDouble; }
    void setIsDouble(bool on) { isDouble = on; }

    // The empty text reads as 0; any other text must be a decimal integer (EConvertError).
    int GetValue() const;
    void SetValue(int value);
    // The text as a floating number; the empty text is a conversion error too.
    double GetDouble() const;
    void SetDouble(double value);

    // Whether a typed character (its character code; 3 is Ctrl+C, 8 backspace) may reach the
    // box under the numeric restrictions in force.
    bool acceptsCharacter(char32_t code) const;

signals:
    void textChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filtering() const { return natural || isDouble; }
    bool acceptsEvent(QEvent *event) const;

    QLabel *captionLabel;
    QLineEdit *lineEdit;
    bool natural = false;
    bool isDouble = false;
};

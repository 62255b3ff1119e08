#include "grid/widget/ziv_edit.h"
#include "qt_text/qt_text.h"

#include "Engine/convert.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace {

constexpr char32_t ctrlC = 3;
constexpr char32_t backspace = 8;
constexpr char32_t ctrlV = 22;

bool isDigit(char32_t code)
{
    return code >= '0' && code <= '9';
}

bool passesNatural(char32_t code)
{
    return isDigit(code) || code == backspace || code == '-' || code == ctrlC || code == ctrlV;
}

bool passesDouble(char32_t code)
{
    return passesNatural(code) || code == ',' || code == '.';
}

// The character a key press types, as a classic character message would carry it: Ctrl with a
// letter gives the control codes 1..26, backspace 8. Keys that type nothing (arrows, Delete,
// Return, Tab, Escape, other Ctrl combinations) give none, so navigation and the dialog's own
// keys are never filtered.
std::optional<char32_t> typedCharacter(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    if (mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char32_t(key - Qt::Key_A + 1);
        return std::nullopt;
    }
    if (key == Qt::Key_Backspace)
        return backspace;
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return std::nullopt;
    return text.toUcs4().value(0);
}

} // namespace

ZIVEdit::ZIVEdit(QWidget *parent)
    : QWidget(parent), captionLabel(new QLabel(this)), lineEdit(new QLineEdit(this))
{
    captionLabel->setObjectName("EditLabel");
    captionLabel->setTextFormat(Qt::PlainText);
    captionLabel->setBuddy(lineEdit);
    lineEdit->setObjectName("edit");
    lineEdit->installEventFilter(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(labelSpacing());
    layout->addWidget(captionLabel);
    layout->addWidget(lineEdit, 1);

    setFocusProxy(lineEdit);
    connect(lineEdit, &QLineEdit::textChanged, this, &ZIVEdit::textChanged);
}

int ZIVEdit::labelSpacing() const
{
    // Never closer than designed; a larger font keeps the caption clear of the box.
    return std::max(LabelSpacing, fontMetrics().averageCharWidth() / 2);
}

QString ZIVEdit::editLabel() const
{
    return captionLabel->text();
}

void ZIVEdit::setEditLabel(const QString &caption)
{
    captionLabel->setText(caption);
}

QString ZIVEdit::text() const
{
    return lineEdit->text();
}

void ZIVEdit::setText(const QString &text)
{
    lineEdit->setText(text);
}

int ZIVEdit::GetValue() const
{
    const QString current = text();
    return current.isEmpty() ? 0 : toInt(toKstring(current));
}

void ZIVEdit::SetValue(int value)
{
    setText(QString::number(value));
}

double ZIVEdit::GetDouble() const
{
    return toDouble(toKstring(text()));
}

void ZIVEdit::SetDouble(double value)
{
    setText(toQString(floatToStr(value)));
}

bool ZIVEdit::acceptsCharacter(char32_t code) const
{
    if (natural && !passesNatural(code))
        return false;
    return !isDouble || passesDouble(code);
}

bool ZIVEdit::acceptsEvent(QEvent *event) const
{
    if (event->type() == QEvent::KeyPress) {
        const auto code = typedCharacter(*static_cast<QKeyEvent *>(event));
        return !code || acceptsCharacter(*code);
    }
    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method is typed too.
        const auto &commit = static_cast<QInputMethodEvent *>(event)->commitString();
        for (char32_t code : commit.toUcs4())
            if (!acceptsCharacter(code))
                return false;
    }
    return true;
}

bool ZIVEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit && filtering() && !acceptsEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

#include "workbench/rules/key_filters.h"

#include "texts/number_text.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsUpperLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool IsHexDigit(QChar c)
{
    return IsDigit(c) || (c >= u'A' && c <= u'F');
}

// Only ASCII letters are upper-cased; anything else stays as typed.
QChar UpperAscii(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
}

} // namespace

QChar TypedCharacter(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return QChar(Backspace);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(Enter);
    case Qt::Key_Escape:
        return QChar(Escape);
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        return {};
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        return {};
    }
    return text.at(0);
}

std::optional<bool> TabDirection(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return std::nullopt;
    }
    if (event->key() == Qt::Key_Backtab) {
        return true;
    }
    if (event->key() == Qt::Key_Tab) {
        return (event->modifiers() & Qt::ShiftModifier) != 0;
    }
    return std::nullopt;
}

QString EditState::WithTyped(QChar c) const
{
    QString result = text;
    return result.replace(selectionStart, selectionLength, c);
}

KeyVerdict NumberFieldKey(QChar c, const EditState& field, int radix)
{
    if (c == u'.') {
        return KeyVerdict::Accept(c, c);
    }
    if (field.RemainingLength() >= FieldWidth(radix)) {
        return KeyVerdict::Refuse();
    }
    const QChar upper = UpperAscii(c);
    if (radix == HexRadix) {
        return IsHexDigit(upper) ? KeyVerdict::Accept(c, upper) : KeyVerdict::Refuse();
    }
    if (!IsDigit(c)) {
        return KeyVerdict::Refuse();
    }
    bool number = false;
    const int value = field.WithTyped(c).toInt(&number);
    return number && value < 256 ? KeyVerdict::Accept(c, c) : KeyVerdict::Refuse();
}

KeyVerdict IntervalKey(QChar c, const EditState& field)
{
    if (c == u'.') {
        return KeyVerdict::Accept(c, c);
    }
    if (field.RemainingLength() >= 2 || !IsDigit(c)) {
        return KeyVerdict::Refuse();
    }
    return KeyVerdict::Accept(c, c);
}

bool AdmitsLabel(const QString& text)
{
    return text.size() <= 6 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return IsDigit(c) || IsUpperLetter(c) || c == u'_';
           });
}

// A label or a hexadecimal address of up to six characters, or one of at least
// two characters followed by "+1"; two characters before the "+" must not read
// as a hexadecimal number. Every text typed from the left passes through
// these shapes: "+" last stands for the "+1" being typed.
bool AdmitsAddress(const QString& text)
{
    const qsizetype plus = text.indexOf(u'+');
    const QString name = text.left(plus);
    if (!AdmitsLabel(name)) {
        return false;
    }
    if (plus < 0) {
        return true;
    }
    const QString suffix = text.mid(plus);
    const auto beyondHex = [](QChar c) { return IsUpperLetter(c) && c > u'F'; };
    return name.size() >= 2 && (suffix == u'+' || suffix == QStringLiteral("+1")) &&
           (name.size() != 2 || beyondHex(name.at(0)) || beyondHex(name.at(1)));
}

bool AdmitsRotateCount(const QString& text)
{
    return text.isEmpty() || (text.size() == 1 && text.at(0) >= u'1' && text.at(0) <= u'7');
}

bool AdmitsByte(const QString& text, int maxLength)
{
    return text.size() <= maxLength && std::all_of(text.begin(), text.end(), IsHexDigit);
}

namespace {

// A typed character, upper-cased, goes in when the text it makes is admitted.
template <typename Admits> KeyVerdict TypedInto(QChar c, const EditState& field, Admits admits)
{
    const QChar upper = UpperAscii(c);
    return admits(field.WithTyped(upper)) ? KeyVerdict::Accept(c, upper) : KeyVerdict::Refuse();
}

} // namespace

KeyVerdict LabelKey(QChar c, const EditState& field)
{
    return TypedInto(c, field, AdmitsLabel);
}

KeyVerdict AddressKey(QChar c, const EditState& field)
{
    return TypedInto(c, field, AdmitsAddress);
}

KeyVerdict RotateKey(QChar c, const EditState& field)
{
    return TypedInto(c, field, AdmitsRotateCount);
}

KeyVerdict ByteKey(QChar c, const EditState& field, int maxLength)
{
    return TypedInto(c, field,
                     [maxLength](const QString& text) { return AdmitsByte(text, maxLength); });
}

#include "key_filters.h"

#include "texts/number_text.h"

#include <QKeyEvent>

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

KeyVerdict LabelKey(QChar c, const EditState& field)
{
    const QChar upper = UpperAscii(c);
    if (field.RemainingLength() >= 6) {
        return KeyVerdict::Refuse();
    }
    if (!IsDigit(upper) && !IsUpperLetter(upper) && upper != u'_') {
        return KeyVerdict::Refuse();
    }
    return KeyVerdict::Accept(c, upper);
}

KeyVerdict AddressKey(QChar c, const EditState& field)
{
    const QChar upper = UpperAscii(c);
    if (!IsDigit(upper) && !IsUpperLetter(upper) && upper != u'_' && upper != u'+') {
        return KeyVerdict::Refuse();
    }
    if (field.RemainingLength() >= 8) {
        return KeyVerdict::Refuse();
    }
    const QString result = field.WithTyped(upper);
    const int n = result.size();
    const int plus = result.indexOf(u'+');
    if (plus < 0) {
        return n >= 7 ? KeyVerdict::Refuse() : KeyVerdict::Accept(c, upper);
    }
    // An address may end in "+1" after a label of at least two characters;
    // two characters must not read as a hexadecimal number.
    const int fromPlus = n - plus;
    bool accepted = false;
    if (n < 3) {
        accepted = false;
    } else if (fromPlus == 1) {
        const auto beyondHex = [](QChar x) { return IsUpperLetter(x) && x > u'F'; };
        accepted = n != 8 && (n != 3 || beyondHex(result.at(0)) || beyondHex(result.at(1)));
    } else if (fromPlus == 2) {
        accepted = result.endsWith(u'1');
    }
    return accepted ? KeyVerdict::Accept(c, upper) : KeyVerdict::Refuse();
}

KeyVerdict RotateKey(QChar c, const EditState& field)
{
    if (field.RemainingLength() >= 1 || c < u'1' || c > u'7') {
        return KeyVerdict::Refuse();
    }
    return KeyVerdict::Accept(c, c);
}

KeyVerdict ByteKey(QChar c, const EditState& field, int maxLength)
{
    if (field.RemainingLength() >= maxLength) {
        return KeyVerdict::Refuse();
    }
    const QChar upper = UpperAscii(c);
    return IsHexDigit(upper) ? KeyVerdict::Accept(c, upper) : KeyVerdict::Refuse();
}

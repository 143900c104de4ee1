#pragma once

#include <QChar>
#include <QString>

#include <optional>

class QKeyEvent;

// The character a key press types, as the key filters see it: 8 for
// Backspace, 13 for Enter, 27 for Esc, a printable character, or the null
// character for keys that type nothing (arrows, Tab, shortcuts).
QChar TypedCharacter(const QKeyEvent* event);

// For Tab, false; for Shift+Tab, true (backwards); nothing for other keys.
std::optional<bool> TabDirection(const QKeyEvent* event);

inline constexpr char16_t Backspace = 8;
inline constexpr char16_t Enter = 13;
inline constexpr char16_t Escape = 27;

// What a key filter does with one typed printable character.
struct KeyVerdict {
    enum Action { Pass, Swallow, Replace };
    Action action = Pass;
    QChar character; // the character to put in its place, for Replace

    static KeyVerdict Accept(QChar typed, QChar wanted)
    {
        return {typed == wanted ? Pass : Replace, wanted};
    }
    static KeyVerdict Refuse() { return {Swallow, {}}; }
};

// The state of an edit field that a typed character meets.
struct EditState {
    QString text;
    int selectionStart = 0; // the caret when nothing is selected
    int selectionLength = 0;

    int RemainingLength() const { return text.size() - selectionLength; }
    QString WithTyped(QChar c) const; // the text once c replaces the selection
};

// Number fields of the machine view (PC, START, registers, memory).
KeyVerdict NumberFieldKey(QChar c, const EditState& field, int radix);
// The run interval field.
KeyVerdict IntervalKey(QChar c, const EditState& field);
// The texts that may stand in the label field and the operand panel's address,
// rotate count and data byte fields: typed characters and pasted text alike
// must leave one of these.
bool AdmitsLabel(const QString& text);
bool AdmitsAddress(const QString& text);
bool AdmitsRotateCount(const QString& text);
bool AdmitsByte(const QString& text, int maxLength);

// The label field of the program grid.
KeyVerdict LabelKey(QChar c, const EditState& field);
// The operand panel's address, rotate count and data byte fields.
KeyVerdict AddressKey(QChar c, const EditState& field);
KeyVerdict RotateKey(QChar c, const EditState& field);
KeyVerdict ByteKey(QChar c, const EditState& field, int maxLength);

#include "workbench/rules/key_filters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Types `keys` one at a time at the end of `text`, as a user would, and
// returns what the field holds afterwards.
template <typename Filter> QString Type(Filter filter, QString text, const QString& keys)
{
    for (QChar key : keys) {
        const KeyVerdict verdict = filter(key, EditState{text, static_cast<int>(text.size()), 0});
        if (verdict.action != KeyVerdict::Swallow) {
            text += verdict.action == KeyVerdict::Replace ? verdict.character : key;
        }
    }
    return text;
}

struct TypingCase {
    const char* before;
    const char* keys;
    const char* after;
};

QString Hex(const TypingCase& c)
{
    return Type([](QChar k, const EditState& s) { return NumberFieldKey(k, s, 16); },
                QString::fromUtf8(c.before), QString::fromUtf8(c.keys));
}

QString Decimal(const TypingCase& c)
{
    return Type([](QChar k, const EditState& s) { return NumberFieldKey(k, s, 10); },
                QString::fromUtf8(c.before), QString::fromUtf8(c.keys));
}

} // namespace

TEST(NumberFieldKeyTest, Hexadecimal)
{
    for (const TypingCase& c :
         {TypingCase{"", "a", "A"}, TypingCase{"", "fF", "FF"}, TypingCase{"", "G", ""},
          TypingCase{"1", "23", "12"}, TypingCase{"", "1.", "1."}, TypingCase{"", "-x ", ""},
          TypingCase{"", "é", ""}}) {
        EXPECT_EQ(Hex(c), QString::fromUtf8(c.after)) << c.before << " + " << c.keys;
    }
}

TEST(NumberFieldKeyTest, DecimalStaysBelow256)
{
    for (const TypingCase& c : {TypingCase{"25", "6", "25"}, TypingCase{"25", "5", "255"},
                                TypingCase{"", "A", ""}, TypingCase{"", "999", "99"},
                                TypingCase{"", "0123", "012"}, TypingCase{"3", "00", "30"}}) {
        EXPECT_EQ(Decimal(c), QString::fromUtf8(c.after)) << c.before << " + " << c.keys;
    }
}

TEST(NumberFieldKeyTest, ASelectionMakesRoomAndIsReplaced)
{
    // "FF" fully selected: the typed digit replaces it.
    EXPECT_EQ(NumberFieldKey(u'1', EditState{QStringLiteral("FF"), 0, 2}, 16).action,
              KeyVerdict::Pass);
    // Decimal "255" with "2" selected: typing 3 would give 355.
    EXPECT_EQ(NumberFieldKey(u'3', EditState{QStringLiteral("255"), 0, 1}, 10).action,
              KeyVerdict::Swallow);
    EXPECT_EQ(NumberFieldKey(u'1', EditState{QStringLiteral("255"), 0, 1}, 10).action,
              KeyVerdict::Pass);
}

TEST(IntervalKeyTest, TakesTwoDigits)
{
    for (const TypingCase& c : {TypingCase{"", "20", "20"}, TypingCase{"1", "23", "12"},
                                TypingCase{"", "a5", "5"}, TypingCase{"1", ".", "1."}}) {
        EXPECT_EQ(Type(IntervalKey, QString::fromUtf8(c.before), QString::fromUtf8(c.keys)),
                  QString::fromUtf8(c.after));
    }
}

TEST(LabelKeyTest, UpperCaseLettersDigitsAndUnderscoreUpToSix)
{
    for (const TypingCase& c :
         {TypingCase{"", "loop1", "LOOP1"}, TypingCase{"", "abcdefg", "ABCDEF"},
          TypingCase{"", "a-b @c", "ABC"}, TypingCase{"", "a_1", "A_1"},
          TypingCase{"", "x.y", "XY"}, TypingCase{"", "ü", ""}}) {
        EXPECT_EQ(Type(LabelKey, QString::fromUtf8(c.before), QString::fromUtf8(c.keys)),
                  QString::fromUtf8(c.after))
            << c.keys;
    }
}

TEST(AddressKeyTest, PlusOneOnlyAfterALabel)
{
    for (const TypingCase& c : {
             TypingCase{"", "loop+1", "LOOP+1"},
             TypingCase{"LOOP+", "2", "LOOP+"},
             TypingCase{"1A", "+", "1A"},
             TypingCase{"GA", "+", "GA+"},
             TypingCase{"", "+", ""},
             TypingCase{"A", "+", "A"},
             TypingCase{"ABCDEF", "G", "ABCDEF"},
             TypingCase{"", "ABCDEF+1", "ABCDEF+1"},
             TypingCase{"ABCDEF+1", "X", "ABCDEF+1"},
             TypingCase{"LOOP+1", "1", "LOOP+1"},
             TypingCase{"_A", "+", "_A"},
             TypingCase{"", "a.b", "AB"},
         }) {
        EXPECT_EQ(Type(AddressKey, QString::fromUtf8(c.before), QString::fromUtf8(c.keys)),
                  QString::fromUtf8(c.after))
            << c.before << " + " << c.keys;
    }
}

TEST(RotateKeyTest, OneDigitFromOneToSeven)
{
    for (const TypingCase& c :
         {TypingCase{"", "0", ""}, TypingCase{"", "8", ""}, TypingCase{"", "9", ""},
          TypingCase{"", "1", "1"}, TypingCase{"", "73", "7"}, TypingCase{"", ".", ""}}) {
        EXPECT_EQ(Type(RotateKey, QString::fromUtf8(c.before), QString::fromUtf8(c.keys)),
                  QString::fromUtf8(c.after));
    }
}

TEST(ByteKeyTest, TwoHexadecimalDigits)
{
    const auto byte = [](QChar k, const EditState& s) { return ByteKey(k, s, 2); };
    for (const TypingCase& c : {TypingCase{"", "ff", "FF"}, TypingCase{"", "ff0", "FF"},
                                TypingCase{"", "G", ""}, TypingCase{"", "7.f", "7F"}}) {
        EXPECT_EQ(Type(byte, QString::fromUtf8(c.before), QString::fromUtf8(c.keys)),
                  QString::fromUtf8(c.after));
    }
}

// Pasted text goes in when typing it from the left would have: the two never
// disagree about what a field may hold.
TEST(AdmittedTextTest, IsWhatTypingFromTheLeftGives)
{
    const auto byte = [](QChar k, const EditState& s) { return ByteKey(k, s, 2); };
    const auto admitsByte = [](const QString& text) { return AdmitsByte(text, 2); };
    struct Case {
        std::function<bool(const QString&)> admits;
        std::function<KeyVerdict(QChar, const EditState&)> key;
        const char* text;
    };
    for (const Case& c : {
             Case{AdmitsAddress, AddressKey, "LOOP+1"},
             Case{AdmitsAddress, AddressKey, "ABCDEFGH"},
             Case{AdmitsAddress, AddressKey, "ABCDEF+1"},
             Case{AdmitsAddress, AddressKey, "1A+1"},
             Case{AdmitsAddress, AddressKey, "GA+"},
             Case{AdmitsAddress, AddressKey, "AB++"},
             Case{AdmitsAddress, AddressKey, "ABCDEF1"},
             Case{AdmitsAddress, AddressKey, "+1"},
             Case{AdmitsLabel, LabelKey, "SEVENCH"},
             Case{AdmitsLabel, LabelKey, "LOOP_1"},
             Case{AdmitsRotateCount, RotateKey, "7"},
             Case{AdmitsRotateCount, RotateKey, "17"},
             Case{admitsByte, byte, "FF"},
             Case{admitsByte, byte, "FFF"},
         }) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(c.admits(text), Type(c.key, QString(), text) == text) << c.text;
    }
}

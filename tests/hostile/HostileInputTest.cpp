// What a user can throw at the paragraph boxes of the result screens: a huge
// paste, broken and invisible characters. Each has one clear outcome, and the
// run goes on with nothing lost.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QElapsedTimer>

#include <vector>

#include "Session.h"

using namespace tolvane::model;

namespace {

// Runs one diagnosis that ends on the type D screen and leaves it showing.
void ReachForm8(Session& s) {
    s.Answer(1, 0);
    s.Click(Screen::Form1);
    s.Answer(2, 0);
    s.Click(Screen::Form2);
    ASSERT_TRUE(s.model().State(Screen::Form8).visible);
}

// Leaves Form8 by its button, diagnoses the same answers again and checks
// that Form8 comes back: the session compares every box with what was typed.
void GoRoundAgain(Session& s) {
    s.Click(Screen::Form8);
    s.Click(Screen::Form1);
    s.Click(Screen::Form2);
    EXPECT_TRUE(s.model().State(Screen::Form8).visible);
    s.Click(Screen::Form8);
    EXPECT_TRUE(s.model().State(Screen::Form1).visible);
    EXPECT_FALSE(s.Stopped());
}

Action TypeAt(int box, std::u16string text, Input input) {
    return {ActionKind::Type, Screen::Form8, box, input, std::move(text)};
}

// Characters typed one key at a time, and whether each is meant to arrive.
struct Piece {
    std::u16string text;
    bool arrives;
};

const std::vector<Piece> kHostilePieces{
    {u"A", true},          {u"\xD800", false}, // a high half with no low half after it
    {u"B", true},          {u"\xDC00", false}, // a low half on its own
    {u"\U0001F697", true},                     // a proper pair
    {u"\x01", false},      {u"\x07", false},   {u"\x1B", false},
    {u"\x7F", false},      {u"\x85", false},   {u"C", true},
    {u"\u200F", true},     {u"\u202E", true}, // right-to-left mark and override
    {u"D", true},          {u"\u202C", true},  {u"\u061C", true},
    {u"\uFEFF", true},     {u"\u200D", true},  {u"E", true},
    {u"\n", true},         {u"\n", true},      {u"\n", true}, // an empty line takes Return too
    {u"F", true},
};

} // namespace

TEST(HostileTyping, KeysTakePrintableTextAndMarksButNoBrokenOrControlCharacters) {
    Session s;
    ReachForm8(s);
    std::u16string typed, kept;
    for (const Piece& piece : kHostilePieces) {
        typed += piece.text;
        if (piece.arrives) kept += piece.text;
    }
    s.Do(TypeAt(2, typed, Input::Mouse), TypeAt(2, kept, Input::Mouse));
    GoRoundAgain(s);
}

// A paste or an input method hands over text as it is: every code unit of
// it arrives, broken halves and control codes included, and stays.
TEST(HostileTyping, PastedOrComposedTextArrivesWhole) {
    Session s;
    ReachForm8(s);
    std::u16string all;
    for (const Piece& piece : kHostilePieces)
        all += piece.text;
    s.Do(TypeAt(3, all, Input::Paste));
    s.Do(TypeAt(4, all, Input::Enter));
    GoRoundAgain(s);
}

class HugePaste : public ::testing::TestWithParam<bool> {};

TEST_P(HugePaste, MebibyteIsKeptWholeAndNothingHangs) {
    const bool lines = GetParam();
    const std::u16string sentence =
        u"安全運転のために，ゆとりを持って走りましょう．Keep your distance 0123456789";
    std::u16string big;
    while (big.size() < (1u << 20)) {
        big += sentence;
        if (lines) big += u'\n';
    }
    big.resize(1u << 20);
    Session s;
    ReachForm8(s);
    QElapsedTimer clock;
    clock.start();
    s.Do(TypeAt(1, big, Input::Paste));
    const qint64 pasted = clock.elapsed();
    GoRoundAgain(s);
    std::printf("[ paste    ] 1 MiB %s: pasted and shown in %lld ms, round trip %lld ms\n",
                lines ? "in lines" : "in one line", static_cast<long long>(pasted),
                static_cast<long long>(clock.elapsed()));
    EXPECT_LT(clock.elapsed(), 60000);
}

INSTANTIATE_TEST_SUITE_P(Shapes, HugePaste, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "Lines" : "OneLine");
});

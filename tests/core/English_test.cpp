// The window in English: every text the session hands it is English, the records of the same game are
// the Japanese ones byte for byte, and the move list speaks Western notation.
#include "session/FormationName.h"
#include "session/GameSession.h"
#include "session/Kif.h"
#include "session/Tr.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using TsTable = std::map<std::pair<std::string, std::string>, std::string>;

// The text of a Linguist file's element: the entities it writes and the element it writes for a CR.
std::string DecodeTs(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {{"<byte value=\"xd\"/>", "\r"},
                                                                    {"&#x3000;", "　"},
                                                                    {"&lt;", "<"},
                                                                    {"&gt;", ">"},
                                                                    {"&quot;", "\""},
                                                                    {"&apos;", "'"},
                                                                    {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities)
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string_view(entity).size(), character);
    return text;
}

TsTable ReadTs(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string xml = buffer.str();
    auto take = [&xml](std::size_t& pos, std::string_view open, std::string_view close) {
        const std::size_t start = xml.find(open, pos) + open.size();
        pos = xml.find(close, start);
        return xml.substr(start, pos - start);
    };
    TsTable table;
    std::string context;
    for (std::size_t pos = 0;;) {
        const std::size_t name = xml.find("<name>", pos), source = xml.find("<source>", pos);
        if (source == std::string::npos) break;
        if (name < source) {
            context = take(pos, "<name>", "</name>");
            continue;
        }
        const std::string text = DecodeTs(take(pos, "<source>", "</source>"));
        table[{context, text}] = DecodeTs(take(pos, "<translation>", "</translation>"));
    }
    return table;
}

// Hiragana, katakana (full and half width) and the CJK ideographs.
bool HasKanaOrKanji(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xF0) != 0xE0 || i + 2 >= s.size()) continue;
        const unsigned c = (b & 0x0Fu) << 12 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6 |
                           (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
        if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
            (c >= 0xFF66 && c <= 0xFF9F))
            return true;
    }
    return false;
}

// Everything the window would show, in order; the clipboard is a record and kept apart.
struct ShownTexts : TQuietView {
    std::vector<std::string> Texts;
    void SetMessage(const std::string& t) override { Texts.push_back(t); }
    void SetStatus(const std::string& t) override { Texts.push_back(t); }
    void ShowMessageBox(const std::string& t) override { Texts.push_back(t); }
    void SetComReason(const std::string& t) override { Texts.push_back(t); }
};

// A take-back, refusals of every kind, a COM win replayed to its end and a human win; returns the
// records the games left.
std::vector<std::string> PlayScript(ShownTexts& view) {
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    TGameSession s(view, hooks);
    s.Start();
    s.PickFormation(kFormationList[2]);
    s.MoveComa_Screen(77, 74); // no such move
    s.MoveComa_Screen(76, 75);
    s.Matta();
    s.Matta(); // back at the start: refused
    // The human king walks towards COM until COM wins.
    for (int turn = 0; turn < 100 && !s.GameOver(); ++turn) {
        const std::vector<TMove> legal = s.LegalMoves();
        TMove pick = legal.front();
        for (const TMove& m : legal)
            if (m.Name == PieceName::Ou && (pick.Name != PieceName::Ou || m.ToRank() < pick.ToRank()))
                pick = m;
        s.MoveComa_Screen(pick.From, pick.To);
    }
    s.Matta();
    s.ReplayToStart();
    while (s.ShownMove() < int(s.Turns().size())) s.ReplayOne();
    s.ReplayBack();
    s.ReplayTwo();
    const TKifRecord record = s.KifRecord();
    for (const std::string& t : KifMoveTexts(record)) view.Texts.push_back(t);
    view.Texts.push_back(KifEndText(record));
    view.Texts.push_back(s.EndingText());
    for (const std::string& t : s.ComReasons()) view.Texts.push_back(t);
    try {
        s.PlayOn();
    } catch (const TPlayOnRefusal& e) {
        view.Texts.push_back(e.Shown());
    }
    std::string wrongPiece = s.KifText();
    wrongPiece.replace(wrongPiece.find("６八玉(59)"), std::string("６八玉").size(), "６八金");
    for (const std::string& refused : {std::string("no record at all"), wrongPiece}) try {
            s.OpenKifText(refused);
        } catch (const TKifError& e) {
            // The record's own words quoted in the refusal stay as the record has them.
            std::string text = KifErrorText(e);
            if (!e.Quoted().empty()) text.erase(text.find(e.Quoted()), e.Quoted().size());
            view.Texts.push_back(text);
        }
    std::vector<std::string> records{s.KifText(), s.KifuText()};
    // Opened from its record, the game gives COM's reasons from the record's comments.
    s.OpenKifText(records[0]);
    while (s.ShownMove() < int(s.Turns().size())) s.ReplayOne();
    s.NewTestGame();
    s.MoveComa_Screen(28, 22);
    records.push_back(s.KifText());
    records.push_back(s.KifuText());
    return records;
}

class English : public ::testing::Test {
protected:
    void SetUp() override {
        static const TsTable kTable = ReadTs(MIRUTOA_GAME_TS);
        ASSERT_FALSE(kTable.empty());
        SetDisplayLanguage(TTextLanguage::English, [](const char* context, const char* source) {
            const auto it = kTable.find({context, source});
            return it == kTable.end() ? std::string() : it->second;
        });
    }
    void TearDown() override { SetDisplayLanguage(TTextLanguage::Japanese); }
};

TEST_F(English, TheWindowReadsEnglishWhileRecordsStayJapanese) {
    ShownTexts english;
    const std::vector<std::string> englishRecords = PlayScript(english);
    SetDisplayLanguage(TTextLanguage::Japanese);
    ShownTexts japanese;
    const std::vector<std::string> japaneseRecords = PlayScript(japanese);

    EXPECT_EQ(englishRecords, japaneseRecords);
    // The same game said twice: the Japanese run shows kana where the English one must not.
    ASSERT_EQ(english.Texts.size(), japanese.Texts.size());
    for (std::size_t i = 0; i < english.Texts.size(); ++i)
        EXPECT_FALSE(HasKanaOrKanji(english.Texts[i])) << english.Texts[i] << "\n  for " << japanese.Texts[i];
    EXPECT_NE(japanese.Texts.end(),
              std::find_if(japanese.Texts.begin(), japanese.Texts.end(), HasKanaOrKanji));
}

TEST_F(English, MoveListWritesWesternNotation) {
    // The list words what the record says; the moves need not be legal to be worded.
    const struct {
        TMove Shown;
        const char* Text;
    } rows[] = {
        {{76, 75, PieceName::Fu}, "P-7e"},       {{34, 35, PieceName::ComFu}, "P-3e"},
        {{77, 44, PieceName::Kaku}, "Bx4d"},     {{33, 44, PieceName::ComKaku}, "Bx4d"},
        {{99, 93, PieceName::KyoNari}, "Lx9c+"}, {{44, 77, PieceName::ComKakuNari}, "B-7g+"},
        {{93, 92, PieceName::KyoNari}, "+L-9b"}, {{77, 88, PieceName::ComKakuNari}, "+B-8h"},
        {{79, 73, PieceName::GinNari}, "Sx7c+"}, {{21, 33, PieceName::ComKei}, "N-3c"},
        {{73, 72, PieceName::GinNari}, "+S-7b"}, {{33, 45, PieceName::ComKei}, "N-4e"},
        {{28, 23, PieceName::Ryu}, "Rx2c+"},     {{45, 57, PieceName::ComKeiNari}, "Nx5g+"},
        {{23, 22, PieceName::Ryu}, "+R-2b"},     {{57, 58, PieceName::ComKeiNari}, "+N-5h"},
        {{66, 63, PieceName::To}, "Px6c+"},      {{82, 62, PieceName::ComHi}, "R-6b"},
        {{63, 62, PieceName::To}, "+Px6b"},
    };
    TKifRecord record;
    for (const auto& row : rows) record.Shown.push_back(row.Shown);
    record.Ending = {EndKind::Mate, Side::Sente};
    const std::vector<std::string> texts = KifMoveTexts(record);
    ASSERT_EQ(texts.size(), std::size(rows));
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], rows[i].Text) << "move " << i + 1;
    EXPECT_EQ(KifEndText(record), "△ wins by mate");
}

} // namespace

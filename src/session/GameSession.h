// The game session: one window's worth of game logic without any toolkit. It owns the game manager,
// the list of the game's turns and COM's random generator, and carries out the turn, the new-game
// commands, the take-back, the replay and the record copy. Whatever must be shown goes through
// ISessionView, which the window implements (and the tests and the console front-end fake).
//
// How a window drives it:
//   construct the session (it creates the game manager, the empty record and leaves replay mode),
//   load the piece pictures (on failure: the window's own box, and stop), fill the formation list
//   with kFormationList and select its first entry, then call Start().
//   A whole human move (the end of a drag, or two clicks) -> MoveComa_Screen(from, to); the drag and
//   the selection themselves are the window's.
//   Buttons, after the window's own Yes/No box where there is one: OnButton_StartClick -> NewGame(),
//   OnButton_HisyaKakuClick -> NewHandicapGame(), OnButton_TestClick -> NewTestGame(),
//   OnComboBoxClick -> PickFormation(name), OnButton_MattaClick -> Matta(),
//   OnReplayButton1_Click..3 -> ReplayToStart(), ReplayOne(), ReplayTwo(),
//   OnButton_KifuClick -> CopyKifu().
// COM's reply comes from an opponent (IOpponent): the built-in COM answers within the turn, and while
// it thinks the window lets pending input through once; commands that arrive then (moves, new games,
// take-back, replay) are ignored, so they can neither start a second turn nor replace the game under
// the running one. An opponent that answers later leaves the turn pending: the human's move is shown,
// moves and take-backs are refused, and the turn ends when the reply arrives (ISessionView::TurnFinished).
#pragma once

#include "board/Move.h"
#include "com/KyokumenKanri.h"
#include "session/Kif.h"
#include "session/Opponent.h"
#include "session/Turn.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TRecordKeeper;

// What one human move did, for front-ends that report turns as text.
struct TTurnReport {
    enum class Outcome {
        Ignored,         // nothing happened (same square, game over, replay mode, COM's turn)
        Pending,         // the human's move is made; COM's reply will come later (TurnFinished)
        Illegal,         // no such move; only the label changed
        IllegalCheck,    // the move leaves the human king attacked; only the label changed
        HumanMoveFailed, // the human's move could not be made (box shown)
        HumanWins,       // the game ended before COM moved
        ComFailed,       // COM's think failed, gave no move, or its move could not be made (box shown)
        ComWins,         // the game ended after COM's move
        Continues,       // a complete turn; the human is to move again
    };
    enum class End { None, HumanMates, ComBareKing, ComMates, HumanBareKing };

    Outcome Result = Outcome::Ignored;
    End Ending = End::None;
    TMove HumanMove; // the human's move as the position recorded it
    int HumanCount = 0;
    TMove ComMove; // COM's move as the position recorded it
    int ComCount = 0;
    bool Check = false;             // COM's move gives check
    std::vector<std::string> Boxes; // the message boxes shown during the turn, in order
};

// The two red frames: Waku marks the destination of the latest move, Waku2 the second move of a
// two-step replay.
enum class SessionFrame { Waku, Waku2 };

// What the session asks its window to show. All texts are UTF-8; multi-line texts use CR LF.
class ISessionView {
public:
    virtual ~ISessionView() = default;
    // Label_Message, the main message text.
    virtual void SetMessage(const std::string& text) = 0;
    // Label_mes2, the status line.
    virtual void SetStatus(const std::string& text) = 0;
    // A modal message box with an OK button; returns when it is closed.
    virtual void ShowMessageBox(const std::string& text) = 0;
    // The picture of one square (square code 11..99); PieceName::Empty removes the picture.
    virtual void SetSquare(int square, PieceName piece) = 0;
    // A piece has landed on a square: a move played or replayed, not a board drawn anew.
    virtual void PieceLanded(int square) { (void)square; }
    // Puts a frame on a board square (11..99), visible or not as it was.
    virtual void MoveFrame(SessionFrame frame, int square) = 0;
    // Takes a frame off the board and hides it; where it then waits is the window's business.
    virtual void RemoveFrame(SessionFrame frame) = 0;
    virtual void ShowFrame(SessionFrame frame, bool visible) = 0;
    // Replay mode on: the replay strip visible and its three buttons enabled; off: hidden, disabled.
    virtual void SetReplayMode(bool on) = 0;
    // Lets the window handle pending input and paint (at the start and end of a drag, and once just
    // before COM thinks).
    virtual void ProcessPendingEvents() = 0;
    // Replaces the clipboard's content with plain text.
    virtual void SetClipboardText(const std::string& text) = 0;
    // Why COM made the move the player sees last: its latest reply, or in replay the COM move just
    // replayed; empty when there is none.
    virtual void SetComReason(const std::string&) {}
    // The moves of the latest turn (or the replayed moves just shown), whose squares the window tints;
    // empty when there is none. Front-ends that draw no board leave it alone.
    virtual void MarkMoves(const std::vector<TMove>& moves) { (void)moves; }
    // A turn left pending by an opponent that answers later has ended (its report is complete).
    virtual void TurnFinished(const TTurnReport& report) { (void)report; }
};

// A view that shows nothing: for a game played aside, and for front-ends that only read the session.
class TQuietView : public ISessionView {
public:
    void SetMessage(const std::string&) override {}
    void SetStatus(const std::string&) override {}
    void ShowMessageBox(const std::string&) override {}
    void SetSquare(int, PieceName) override {}
    void MoveFrame(SessionFrame, int) override {}
    void RemoveFrame(SessionFrame) override {}
    void ShowFrame(SessionFrame, bool) override {}
    void SetReplayMode(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
};

// The fourteen formation names in the order of the window's drop-down list.
inline constexpr std::array<std::string_view, 14> kFormationList = {
    "【基本形】",
    "【中飛車】",
    "【矢倉囲い】",
    "【船囲い】",
    "【穴熊】",
    "【居飛車穴熊】",
    "【四間飛車】",
    "【三間飛車】",
    "【向かい飛車】",
    "【ミルトア式BIG4 改】",
    "【ミルトア式雪崩囲い】",
    "【ミルトア式変則矢倉】",
    "【ミルトア式十字穴熊】",
    "【ミルトア式黄金囲い】",
};

// The outcome of a take-back request.
struct TMattaReport {
    bool Done = false;
    std::string Refusal; // the box text when refused (or when the take-back failed)
};

// Why a game cannot be continued from a position: what() in English for the console, Shown() in the
// display language for the window's box (Japanese unless a translator is installed).
class TPlayOnRefusal : public std::runtime_error {
public:
    TPlayOnRefusal(const std::string& english, std::string shown)
        : std::runtime_error(english), shown_(std::move(shown)) {}
    const std::string& Shown() const { return shown_; }
    // The same text; the name the window used before it spoke English.
    const std::string& Japanese() const { return shown_; }

private:
    std::string shown_;
};

// What the session takes from its surroundings; every member may be left empty for the default.
struct TSessionHooks {
    // The millisecond tick counter that times COM's reply on the label (default: TickCountMs).
    std::function<std::int64_t()> TickCount;
    // Local date and time for the record's third line (default: "yyyy/MM/dd H:mm:ss").
    std::function<std::string()> Now;
    // Called after every COM think with its duration in milliseconds (with fraction); may be empty.
    std::function<void(double)> ThinkTimed;
    // COM's think (default: the game manager's ComThink); tests replace it to make a think fail.
    std::function<void(TKyokumenKanri&)> Think;
    // Who answers the human's moves (default: the built-in COM, with Think). Must outlive the session.
    IOpponent* Opponent = nullptr;
};

class TGameSession {
public:
    // Steps 1-4 of the window's creation: a new game manager, no take-back used, an empty record with
    // the start position's diagram, replay mode off.
    explicit TGameSession(ISessionView& view, TSessionHooks hooks = {});
    ~TGameSession();
    TGameSession(const TGameSession&) = delete;
    TGameSession& operator=(const TGameSession&) = delete;

    // The rest of the window's creation once the pictures are loaded: the start position drawn,
    // "【基本形】" selected and set, the greeting.
    void Start();

    // One whole turn: the human's move from -> to (square codes, 0 for "no square"), then COM's reply.
    // Ignored while the human is not to move (replay, game over, a turn running or pending).
    TTurnReport MoveComa_Screen(int from, int to);
    // True while an opponent that answers later has not yet replied.
    bool ReplyPending() const { return pending_; }

    // New games (the window has asked "初期化しますか？" and got Yes).
    void NewGame();
    void NewHandicapGame();
    void NewTestGame();
    // A formation picked in the list. Returns true when it was applied (no move made yet); the
    // selection changes either way.
    bool PickFormation(std::string_view name);

    TMattaReport Matta();

    // Replay of a finished game.
    void ReplayToStart();
    void ReplayOne();
    void ReplayTwo();
    // One move back: replays from the start up to the move before the one shown.
    void ReplayBack();
    // Shows the position after move n (0 the start), silently; ignored out of replay or of range.
    void ReplayTo(int n);
    // The panel said again in the language now installed, where it can be said again exactly: the
    // greeting before the first move, and the position a replay shows. Elsewhere it changes with the
    // next turn.
    void Retell();

    // The human resigns (the window has asked "投了しますか？" and got Yes): the game ends as a COM win.
    // Refused, and nothing happens, while the game is over, before the first move or when it is not the
    // human's turn. Returns true when the game ended.
    bool Resign();
    bool CanResign() const; // Resign would be accepted now

    // The record as the clipboard gets it: every line followed by CR LF, then the closing separator.
    std::string KifuText() const;
    void CopyKifu();

    // The game as a record file holds it, and its KIF text (UTF-8, LF line ends).
    TKifRecord KifRecord() const;
    std::string KifText() const { return WriteKif(KifRecord()); }
    // Saves the game in the form the extension names (.kif, .kifu, .txt). Throws with a message when the
    // form is unknown or the file cannot be written; the game is not touched either way.
    void SaveRecord(const std::filesystem::path& path) const;
    // Replaces the game by a recorded one, in replay mode from its start; returns its number of moves.
    // Everything is read and checked first: a file that cannot be replayed throws (TKifError names the
    // line and the fault) and the game stays exactly as it was.
    int OpenRecord(const std::filesystem::path& path);
    int OpenKifText(std::string_view utf8);
    // Reads and checks a record file without touching the game (throws as OpenRecord does), so that a
    // front-end can ask before it replaces a game only for a record that can be opened.
    static TKifRecord ReadRecord(const std::filesystem::path& path);
    // Replaces the game by a record read and checked before.
    int OpenKifRecord(TKifRecord record);
    // The position after move n of the game (0: the start) on the board. In a game going on, an earlier
    // position is only looked at: moves, take-backs and resigning are refused until the game's own
    // latest position is shown again. Throws std::out_of_range for a move the game does not have.
    void ShowMove(int n);
    // The number of the move whose position the board shows.
    int ShownMove() const;
    bool Browsing() const { return browse_ >= 0; }
    // The position the board shows.
    TKyokumen ShownPosition() const;
    // A new game from the shown position with the human to move, COM in exactly the state it would be in
    // had the game reached that position without a break: the game is played again from its start on
    // COM's generator as it was then, with its formation picks and take-backs, and every COM move must
    // come out as recorded. The previous game is left as it was kept; the new one is kept from its
    // start. Returns the number of moves. Throws TPlayOnRefusal, the game unchanged, when it cannot be.
    int PlayOn();
    // The unfinished game kept in path, continued where it stopped as the same game: the keeper goes on
    // writing that file. Throws as ReadRecord and PlayOn do, the game unchanged.
    int ContinueKept(const std::filesystem::path& path);
    // Keeps every game through keeper after each completed turn and at the end; nullptr stops it. The
    // keeper must outlive the session or be unset first.
    void SetRecordKeeper(TRecordKeeper* keeper) { keeper_ = keeper; }
    // The player leaves the game going on (for another game, a record, or the end of the program): its
    // kept record is written once more, as interrupted, so that it is not offered to be continued.
    // Nothing happens without a keeper, during a turn, in a replay, after the end or before a move.
    void LeaveGame();
    // The opponent has been switched (its Name() changed): a game being played names the new one.
    void OpponentChanged();
    // A hint the human was shown, in the record's words (HintComment): noted as the comment of the
    // human's next move.
    void NoteHint(std::string text) { hint_ = std::move(text); }
    // How a finished game ended, as the replay's last move says it: "まで62手　詰みでCOMの勝ち"; empty
    // while the game goes on.
    std::string EndingText() const;
    // Puts an analysis's comments (one per move, as TGameAnalysis::MoveComments gives them) beside the
    // moves, replacing an earlier analysis, when played is still the beginning of this game. Returns
    // whether it did.
    bool NoteAnalysis(const std::vector<TMove>& played, const std::vector<std::string>& comments);
    // How the game ended (KifEnding::None while it goes on).
    KifEnding Ending() const { return ending_; }

    // "　27→26　歩" (in English "　2g→2f　Pawn").
    static std::string FormatMove(const TMove& m);
    // The record diagram's glyph of one board-list entry: "com" stripped, "□" for an empty square.
    static std::string DiagramGlyph(std::string_view entry);
    // A thinking time in seconds in the shortest form: "0.047", "1.5", "3".
    static std::string FormatSeconds(double s);
    // "あなたの番です\r\n\r\n\r\n（COMの陣形は" + name + "に設定されました）".
    static std::string Greeting(std::string_view formation);
    // The status line while COM builds its formation ("【基本形】の駒組み中"), and after COM's check.
    static std::string FormationStatus(std::string_view formation);
    static std::string CheckStatus();

    // State, read by front-ends and tests.
    TKyokumenKanri& Kanri() { return *kanri_; }
    const TKyokumenKanri& Kanri() const { return *kanri_; }
    // The game's moves, in order.
    const std::vector<TTurn>& Turns() const { return turns_; }
    // Read from the turns: the record's lines (header, diagram, one line per move, the end), the moves
    // as played and as shown.
    std::vector<std::string> KifuLines() const;
    std::vector<TMove> MoveHistory() const;
    std::vector<TMove> ShownMoveHistory() const;
    // Why COM chose each of its moves, one entry per COM move, in order.
    std::vector<std::string> ComReasons() const;
    // The reason of move n of the game (counted from 1); empty for the human's moves and beyond.
    std::string ComReasonOfMove(int n) const;
    // The reason of COM's latest move; empty before its first.
    std::string LatestComReason() const;
    // The generator COM's random choices draw from: made with the session at seed 0 and never reseeded,
    // so the same human moves draw the same replies, across new games too.
    TRandom& Rng() { return rng_; }
    bool MattaUsed() const { return mattaUsed_; }
    bool ReplayMode() const { return replayMode_; }
    bool HisyaKakuMode() const { return hisyaKakuMode_; }
    double ComTotalTime() const { return comTotalTime_; }
    // The text the formation list shows.
    const std::string& Formation() const { return formation_; }
    // The label and status line as last set.
    const std::string& Message() const { return message_; }
    const std::string& Status() const { return status_; }
    // True when the game is over (any of the four result flags, or a resignation).
    bool GameOver() const;
    // True when a drag would be taken as the human's move: the human's turn in a game going on.
    bool HumanToMove() const;
    // The squares the human's piece on from may legally move to now (moves that leave the human
    // king attacked excluded), in move-list order; empty when it is not the human's turn.
    std::vector<int> LegalDestinations(int from) const;
    // Every move the human may make now, in move-list order; empty when it is not the human's turn.
    std::vector<TMove> LegalMoves() const;

private:
    ISessionView& view_;
    TSessionHooks hooks_;
    TRandom rng_;
    TComOpponent com_;
    IOpponent* opponent_;
    std::unique_ptr<TKyokumenKanri> kanri_;
    std::vector<TTurn> turns_;
    std::vector<std::string> header_; // the record's header and the start position's diagram
    bool mattaUsed_ = false;
    bool replayMode_ = false;
    // Set while a step back replays the game up to the move before: those moves land without a sound.
    bool replayingBack_ = false;
    bool hisyaKakuMode_ = false;
    bool testStart_ = false;      // the game began from the test position (replay sets it up again)
    bool inTurn_ = false;         // a turn is running (pending input let through mid-turn is ignored)
    bool pending_ = false;        // the opponent's reply has not come yet
    bool asking_ = false;         // the opponent is being asked (a reply now belongs to that call)
    std::uint64_t askNumber_ = 0; // counts the requests made of the opponent; a stale reply is dropped
    // The turn whose reply is pending: its report so far, the tick it started, the human move's label.
    TTurnReport pendingReport_;
    std::int64_t turnStart_ = 0;
    double thinkStart_ = 0;
    std::string turnLabel_;
    TKyokumen positionBeforeTurn_; // the position before the human's latest move
    // COM's progress on its formations before its latest think: a think that fails may already have
    // counted a formation step that its move was to make.
    struct TFormationProgress {
        std::array<int, TSenpou_Base::kSlots> StepDone{};
        int DoneStamp = -1;
        int PeekStamp = 0;
        bool Finished = false;
    };
    std::array<TFormationProgress, kSenpouCount> progressBeforeTurn_{};
    double comTotalTime_ = 0;
    std::string formation_ = "【基本形】";
    KifEnding ending_ = KifEnding::None;
    TKifDate began_;               // when the game began, as its record's header says
    std::uint64_t gameNumber_ = 0; // counts the games of this session, for the record keeper
    TRecordKeeper* keeper_ = nullptr;
    // COM's generator as the game began, the formation picks and the take-backs: what the record needs
    // for the game to be continued exactly (an opened record's as it was read).
    TKifContinuation cont_;
    int browse_ = -1; // the move whose position is looked at in a game going on; -1 for its own
    std::string message_;
    std::string status_;
    std::string opponentName_ = "COM"; // the second player as the record names it
    std::string hint_;                 // a hint shown since the human's latest move

    std::unique_ptr<TKyokumenKanri> NewKanri();
    void ResetKifu();
    bool PlayHumanHalf(int from, int to, TTurnReport& report);
    void AskOpponent(TTurnReport& report);
    void OnReply(std::uint64_t ask, const TOpponentReply& reply, TTurnReport* sync);
    void FinishTurn(const TOpponentReply& reply, TTurnReport& report);
    bool ApplyComReply(const TOpponentReply& reply, TTurnReport& report);
    void ShowComMove(TTurnReport& report);
    void CancelPending();
    void TakeBackFailedTurn();
    // The box that refuses a take-back now; empty when it is allowed.
    std::string MattaRefusal() const;
    // The ending after the label of move k, when k is the game's last move.
    std::string EndingNote(int k) const;
    void SetMessage(std::string text);
    void SetStatus(std::string text);
    void Box(const std::string& text, TTurnReport* report);
    void ClearBoard();
    void DrawStartPosition();
    void RedrawBoard();
    void EnterReplayMode();
    void LeaveReplayMode();
    void RemoveFrames();
    void FinishGame(KifEnding ending, const std::string& label);
    void ReplayMove(int k, SessionFrame frame, TMove& shown);
    void MarkLatestTurn();
    std::string TotalTimeText() const;
    KifStart StartKind() const;
    // The record's header and the diagram of k's position.
    static std::vector<std::string> RecordHeader(const std::string& date, const TKyokumenKanri& k,
                                                 const std::string& opponent);
    std::string TurnLine(std::size_t i) const;
    void KeepRecord();
    void NoteFormation();
    void NoteTakeBack(const TTurn& human, const TTurn* com);
    void ShowLivePosition(int n);
    int ContinueFrom(const TKifRecord& r, int n, const std::filesystem::path* keptFile);
    void ReplayRecorded(const TKifRecord& r, int n);
    void PlayRecordedTurn(const TKifRecord& r);
    void AdoptGame(TGameSession& s, const TKifRecord& r, bool sameGame);
    void ShowContinuedGame(int n, bool sameGame);
};

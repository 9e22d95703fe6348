// The game session: one window's worth of game logic without any toolkit. It is the referee of a game
// between two seats (the person at the board, COM, the engine; any of them on either side): it owns the
// position, the record and COM's random generator, asks the player whose turn it is for a move, checks
// the answer by the rules, plays it, judges the position, and carries out the new-game commands, the
// take-back, the replay and the record copy. Whatever must be shown goes through ISessionView, which the
// window implements (and the tests and the console front-end fake).
//
// How a window drives it:
//   construct the session (it creates the empty record and leaves replay mode), load the piece pictures
//   (on failure: the window's own box, and stop), fill the formation list with kFormationList and select
//   its first entry, then call Start().
//   A person's move (the end of a drag, or two clicks) -> MoveComa_Screen(from, to): when a computer
//   moves next, it is asked at once; COM answers within the call.
//   A computer to move with nobody's move to answer (it moves first, or two computers play) -> Go(),
//   when the front-end sees ComputerToMove() and its pace allows.
//   Buttons, after the window's own Yes/No box where there is one: OnButton_StartClick -> NewGame(),
//   OnButton_HisyaKakuClick -> NewHandicapGame(), OnButton_TestClick -> NewTestGame(),
//   OnComboBoxClick -> PickFormation(name), OnButton_MattaClick -> Matta(),
//   OnReplayButton1_Click..3 -> ReplayToStart(), ReplayOne(), ReplayTwo(),
//   OnButton_KifuClick -> CopyKifu().
// While COM thinks the window lets pending input through once; commands that arrive then (moves, new
// games, take-back, replay) are ignored, so they can neither start a second turn nor replace the game
// under the running one. A player that answers later leaves the turn pending: the moves made so far are
// shown, moves and take-backs are refused, and the turn ends when the reply arrives
// (ISessionView::TurnFinished).
#pragma once

#include "board/Move.h"
#include "session/ComPlayer.h"
#include "session/Judge.h"
#include "session/Kif.h"
#include "session/Player.h"
#include "session/Seats.h"
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
class TEngineSeat;

// The session's words, shared by its parts.
std::string ErrorBox(const std::string& head, bool fatal, const std::exception& e);
std::string MoveNumberText(int n);
// COM's reason in words: the think's own, else what the player or the record said beside the move.
std::string ReasonOf(const TTurn& t);
// The same as a record keeps it, whatever the window shows.
std::string RecordReasonOf(const TTurn& t);
// "▲先手" / "△後手"; a seat's name as the window shows it.
std::string SideWords(Side side);
std::string SeatShownName(const TSeat& seat);
// The moves of turns [first, end) as a record holds them: played, shown, and the comment of each (COM's
// reason beside a computer's move, an opened record's comment beside any, the analysis after either),
// with each computer's thinking time added to seconds when given.
void RecordMoves(const std::vector<TTurn>& turns, std::size_t first, TKifVariation& into,
                 std::vector<double>* seconds);
// The turns of a record's line whose first move is move at + 1: movers alternate from first, the side to
// move at the start, the seats tell the computers' moves, seconds (when given) their times in order.
std::vector<TTurn> RecordTurns(Side first, const TSeats& seats, int at, const TKifVariation& line,
                               const std::vector<double>* seconds);

// One move reported to a front-end: as the position recorded it, its number, who made it.
struct TReportedMove {
    TMove Shown;
    int Count = 0;
    Side Mover = Side::Sente;
    bool Computer = false;
};

// What one command that moves (a person's move, a computer's move asked for) did, for front-ends that
// report turns as text.
struct TTurnReport {
    enum class Outcome {
        Ignored,         // nothing happened (same square, game over, replay mode, not this one's turn)
        Pending,         // the moves so far are made; a computer's reply will come later (TurnFinished)
        Illegal,         // no such move; only the label changed
        IllegalCheck,    // the move leaves the mover's king attacked; only the label changed
        HumanMoveFailed, // the person's move could not be made (box shown)
        ComFailed,       // a computer's think failed, gave no move, or its move could not be made (box shown)
        GameOver,        // the game ended (Ending says how)
        Continues,       // the moves are made and the game goes on
    };

    Outcome Result = Outcome::Ignored;
    TGameEnd Ending;
    std::vector<TReportedMove> Moves; // in the order they were made
    bool Check = false;               // the side to move after the last move is in check
    std::vector<std::string> Boxes;   // the message boxes shown, in order

    // The first move by a person or a computer; nullptr when there is none.
    const TReportedMove* First(bool computer) const;
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
    // The picture of one square (square code 11..99, the record's frame); Empty removes the picture.
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
    // before a computer thinks).
    virtual void ProcessPendingEvents() = 0;
    // Replaces the clipboard's content with plain text.
    virtual void SetClipboardText(const std::string& text) = 0;
    // Why COM made the move the player sees last: its latest reply, or in replay the COM move just
    // replayed; empty when there is none.
    virtual void SetComReason(const std::string&) {}
    // The moves of the latest turn (or the replayed moves just shown), whose squares the window tints;
    // empty when there is none. Front-ends that draw no board leave it alone.
    virtual void MarkMoves(const std::vector<TMove>& moves) { (void)moves; }
    // A turn left pending by a player that answers later has ended (its report is complete).
    virtual void TurnFinished(const TTurnReport& report) { (void)report; }
    // A new game (or a game taken up, or a record opened) with these seats: the window turns its board
    // to the person's side.
    virtual void SeatsChanged(const TSeats& seats) { (void)seats; }
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
    // The millisecond tick counter that times a computer's reply on the label (default: TickCountMs).
    std::function<std::int64_t()> TickCount;
    // Local date and time for the record's third line (default: "yyyy/MM/dd H:mm:ss").
    std::function<std::string()> Now;
    // Called after every computer's think with its duration in milliseconds (with fraction); may be empty.
    std::function<void(double)> ThinkTimed;
    // COM's think (default: the game manager's ComThink); tests replace it to make a think fail.
    std::function<void(TKyokumenKanri&)> Think;
    // The engine process that engine seats play through; without it, seats hold no engine.
    TEngineSeat* Engine = nullptr;
    // A player that takes every computer seat instead (tests: one that answers later). Must outlive the
    // session.
    IPlayer* Opponent = nullptr;
};

class TGameSession {
public:
    // Steps 1-4 of the window's creation: no take-back used, an empty record with the start position's
    // diagram, replay mode off.
    explicit TGameSession(ISessionView& view, TSessionHooks hooks = {});
    ~TGameSession();
    TGameSession(const TGameSession&) = delete;
    TGameSession& operator=(const TGameSession&) = delete;

    // The rest of the window's creation once the pictures are loaded: the start position drawn,
    // "【基本形】" selected and set, the greeting.
    void Start();

    // ---- Seats ----
    // The seats of the game on the board.
    const TSeats& Seats() const { return record_.Seats; }
    // The seats the next new game takes (kept by the front-end between runs); the game on the board
    // keeps its own. Engine seats need the engine hook; throws std::invalid_argument without it.
    void SetSeats(const TSeats& seats);
    const TSeats& NextSeats() const { return nextSeats_; }
    // A computer seat of the game going on taken by another computer (the opponent menu): it answers
    // from its next move on, and the record names it. False, changing nothing, for a person's seat or a
    // finished game. The next games take it too.
    bool ChangeSeat(Side side, const TSeat& seat);
    // The computer seat that the opponent menu changes: the second side's when it is a computer's, else
    // the first side's; none when only people play.
    std::optional<Side> OpponentSide() const;

    // ---- Moves ----
    // A person's move from -> to (square codes, 0 for "no square") for the side to move, then, when a
    // computer moves next, its reply. Ignored while no person is to move (replay, game over, a turn
    // running or pending, a computer's turn).
    TTurnReport MoveComa_Screen(int from, int to);
    // The computer whose turn it is plays one move. Ignored (Outcome::Ignored) when a person is to move,
    // the game is over, a reply is pending or an earlier position is shown.
    TTurnReport Go();
    // True when Go would play: a computer is to move in a game going on, its latest position shown, and
    // its last think did not fail.
    bool ComputerToMove() const;
    // True when a drag would be taken as a person's move: a person's turn in a game going on.
    bool HumanToMove() const;
    // True while a player that answers later has not yet replied.
    bool ReplyPending() const { return pending_; }

    // ---- New games ----
    // The window has asked "初期化しますか？" and got Yes.
    void NewGame();
    void NewHandicapGame();
    void NewTestGame();
    // A new game from a position set up by hand, with the seats of the next game; a board that is one
    // of the game's own starts with the first player to move is that start. Throws TPositionRefusal,
    // the game unchanged, for a position this game cannot play from (PositionCheck.h).
    void NewGameFrom(const TEditedStart& start);
    // Where the game on the board began, and its board and side to move when it was set up by hand.
    KifStart StartKind() const { return record_.Start; }
    const TEditedStart& EditedStart() const { return record_.Edited; }
    // A formation picked in the list, for the COM seat it sets (Seats::ListedCom). Returns true when it
    // was applied (no move made yet); the selection changes either way and the next games take it.
    bool PickFormation(std::string_view name);

    TMattaReport Matta();

    // ---- Replay of a finished game ----
    void ReplayToStart();
    void ReplayOne();
    void ReplayTwo();
    // One move back: the position before the one shown.
    void ReplayBack();
    // Shows the position after move n (0 the start), silently; ignored out of replay or of range.
    void ReplayTo(int n);
    // The panel said again in the language now installed, where it can be said again exactly: the
    // greeting before the first move, and the position a replay shows. Elsewhere it changes with the
    // next turn.
    void Retell();

    // The person to move resigns (the window has asked "投了しますか？" and got Yes): the game ends as
    // the other side's win. Refused, and nothing happens, while the game is over, before the first move
    // or when no person is to move. Returns true when the game ended.
    bool Resign();
    bool CanResign() const; // Resign would be accepted now

    // ---- The record ----
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
    // The same for a KIF or KI2 record pasted as text (UTF-8), with the checks a file gets.
    static TKifRecord ReadPastedRecord(std::string_view text);
    // Replaces the game by a record read and checked before.
    int OpenKifRecord(TKifRecord record);
    // The position after move n of the game (0: the start) on the board. In a game going on, an earlier
    // position is only looked at: moves, take-backs and resigning are refused until the game's own
    // latest position is shown again. Throws std::out_of_range for a move the game does not have.
    void ShowMove(int n);
    // The number of the move whose position the board shows.
    int ShownMove() const;
    bool Browsing() const { return !replayMode_ && shown_ >= 0; }
    // The position the board shows (its side to move set), and the game's latest.
    TKyokumen ShownPosition() const;
    // The board shown and the side to move there, as a start set up from it takes them (the position
    // editor, the position text).
    TEditedStart ShownSetup() const;
    const TKyokumen& Position() const { return position_; }
    // The position the board is built from: the game's latest, or in a replay the position the replay
    // has reached (an earlier position looked at during a game is drawn aside).
    const TKyokumen& BoardPosition() const { return replayMode_ ? shownPosition_ : position_; }
    Side SideToMove() const { return ::SideToMove(position_); }
    // The side whose view the window takes: the lone person's, else 先手's.
    Side Viewer() const;
    int MoveCount() const { return int(turns_.size()); }
    // A new game from the shown position, with the same seats, every player in exactly the state it
    // would be in had the game reached that position without a break: the game is played again from
    // its start on COM's generator as it was then, with its formation picks and take-backs; every COM
    // move must come out as recorded, the engine's and the person's moves are checked by the rules. The
    // previous game is left as it was kept; the new one is kept from its start. Returns the number of
    // moves. Throws TPlayOnRefusal, the game unchanged, when it cannot be.
    int PlayOn();
    // The unfinished game kept in path, continued where it stopped as the same game: the keeper goes on
    // writing that file. Throws as ReadRecord and PlayOn do, the game unchanged.
    int ContinueKept(const std::filesystem::path& path);
    // Whether a record read before could be continued where it stops (ContinueKept would succeed).
    bool CanContinue(const TKifRecord& record) const;
    // Keeps every game through keeper after each completed turn and at the end; nullptr stops it. The
    // keeper must outlive the session or be unset first.
    void SetRecordKeeper(TRecordKeeper* keeper) { keeper_ = keeper; }
    // The player leaves the game going on (for another game, a record, or the end of the program): its
    // kept record is written once more, as interrupted, so that it is not offered to be continued.
    // Nothing happens without a keeper, during a turn, in a replay, after the end or before a move.
    void LeaveGame();
    // A hint the person was shown, in the record's words (HintComment): noted as the comment of the
    // person's next move.
    void NoteHint(std::string text) { hint_ = std::move(text); }
    // How a finished game ended, as the replay's last move says it: "まで62手　詰みでCOMの勝ち"; empty
    // while the game goes on.
    std::string EndingText() const;
    // Puts an analysis's comments (one per move, as TGameAnalysis::MoveComments gives them) beside the
    // moves, replacing an earlier analysis, when played is still the beginning of this game. Returns
    // whether it did.
    bool NoteAnalysis(const std::vector<TMove>& played, const std::vector<std::string>& comments);
    // How the game ended (Kind None while it goes on).
    const TGameEnd& Ending() const { return record_.End; }

    // ---- Variations ----
    // A record holds lines of play: the main line and its variations, each branching off the main line
    // or another variation at one of its moves. The board shows one of them, the line of the game: the
    // turns, the move list, analysis and play on read it, saving and keeping write them all.
    // The line the board shows (0: the main line, else a variation's number) and the number of lines.
    int Line() const { return line_; }
    int LineCount() const { return lines_.empty() ? 1 : int(lines_.size()); }
    // The number of the first move of line k that is its own (1 for the main line).
    int LineStart(int k) const;
    // The line of the game from its start, without the others: what the board, the move list and
    // analysis read.
    TKifRecord LineRecord() const;
    // One way of playing move n of the line shown: a line that plays it, its move (Shown empty for a
    // line that ends there, End telling how).
    struct TAlternative {
        int Line = 0;
        TMove Shown;
        TGameEnd End;
    };
    // The lines that play move n (from 1) from the position the line shown reaches after move n - 1: the
    // one that holds the shown line's move first, then its variations there. Empty when the shown line
    // has no move n.
    std::vector<TAlternative> Alternatives(int n) const;
    // The moves of the line shown that have alternatives.
    std::vector<int> BranchPoints() const;
    // Starts a variation at the shown position: the game is played on from there exactly as PlayOn
    // does it (with its checks and refusals), but within this record, which keeps the line left. The
    // next move is the variation's first. At the shown line's own end, the line itself goes on. Returns
    // the shown move's number; throws TPlayOnRefusal, nothing changed, when it cannot be.
    int Branch();
    // Shows line k in replay at move n (clamped to its moves); false, nothing changed, for no such
    // line or while a computer's turn runs.
    bool EnterLine(int k, int n);

    // ---- Texts ----
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

    // ---- State, read by front-ends and tests ----
    // The game's moves, in order.
    const std::vector<TTurn>& Turns() const { return turns_; }
    // Read from the turns: the record's lines (header, diagram, one line per move, the end), the moves
    // as played and as shown.
    std::vector<std::string> KifuLines() const;
    std::vector<TMove> MoveHistory() const;
    std::vector<TMove> ShownMoveHistory() const;
    // Why COM chose each of its moves, one entry per computer move, in order.
    std::vector<std::string> ComReasons() const;
    // The reason of move n of the game (counted from 1); empty for a person's moves and beyond.
    std::string ComReasonOfMove(int n) const;
    // The reason of the latest computer move; empty before the first.
    std::string LatestComReason() const;
    // The generator COM's random choices draw from: made with the session at seed 0 and never reseeded,
    // so the same moves draw the same replies, across new games too.
    TRandom& Rng() { return rng_; }
    // The COM seat's game manager (for tests and benchmarks); nullptr when that side is no COM.
    const TKyokumenKanri* ComKanri(Side side) const;
    bool MattaUsed() const { return mattaUsed_; }
    bool ReplayMode() const { return replayMode_; }
    bool HisyaKakuMode() const { return record_.Start == KifStart::Handicap; }
    double ComTotalTime() const { return comTotalTime_; }
    // The text the formation list shows.
    const std::string& Formation() const { return formation_; }
    // The label and status line as last set.
    const std::string& Message() const { return message_; }
    const std::string& Status() const { return status_; }
    // True when the game is over.
    bool GameOver() const { return record_.End.Over(); }
    // The squares the piece on from may legally move to now, in move-list order; empty when no person is
    // to move.
    std::vector<int> LegalDestinations(int from) const;
    // Every move the person to move may make now, in move-list order; empty when no person is to move.
    std::vector<TMove> LegalMoves() const;

private:
    struct TRecordState {
        KifStart Start = KifStart::Even;
        TEditedStart Edited; // an Edited start's board and side to move
        TSeats Seats;
        TGameEnd End;
        TKifDate Began;
        // COM's generator as the game began, the formation picks and the take-backs: what the record
        // needs for the game to be continued exactly (an opened record's as it was read).
        TKifContinuation Cont;
        std::vector<std::string> Header; // the clipboard record's header and the start's diagram
    };

    ISessionView& view_;
    TSessionHooks hooks_;
    TRandom rng_;
    TRecordState record_;
    std::vector<TTurn> turns_;
    TKyokumen position_; // the game's latest position, the record's frame
    TJudge judge_;
    TGameEnd verdict_;         // the rules' verdict on the latest position
    std::vector<TMove> legal_; // the legal moves of the computer being asked
    TSeats nextSeats_;
    std::array<std::unique_ptr<IPlayer>, 2> owned_;
    std::array<IPlayer*, 2> players_{};
    bool mattaUsed_ = false;
    bool replayMode_ = false;
    // Set while a replay jumps to a move: those moves land without a sound.
    bool replayingBack_ = false;
    bool inTurn_ = false;    // a turn is running (pending input let through mid-turn is ignored)
    bool replaying_ = false; // a game played again aside: a computer moves only when asked (Go)
    bool stalled_ = false;   // a computer's think failed: it is not asked again until the game moves
    std::unique_ptr<IPlayer> recorded_; // there, the engine's seats answer with the record's moves
    bool pending_ = false;              // a computer's reply has not come yet
    bool asking_ = false;               // a player is being asked (a reply now belongs to that call)
    std::uint64_t askNumber_ = 0;       // counts the requests made of players; a stale reply is dropped
    // The turn whose reply is pending: its report so far, the tick it started, the label so far.
    TTurnReport pendingReport_;
    std::int64_t turnStart_ = 0;
    double thinkStart_ = 0;
    std::string turnLabel_;
    double comTotalTime_ = 0;
    std::string formation_ = "【基本形】";
    std::uint64_t gameNumber_ = 0; // counts the games of this session, for the record keeper
    TRecordKeeper* keeper_ = nullptr;
    // The move whose position is shown: in a game going on an earlier one looked at (-1: the latest);
    // in replay mode the replay's position.
    int shown_ = -1;
    TKyokumen shownPosition_; // the position of shown_ in replay mode
    std::string message_;
    std::string status_;
    std::string liveStatus_; // the status line of the game's own position, while an earlier one is shown
    std::string hint_;       // a hint shown since the person's latest move

    // The record's lines of play (SessionVariations.cpp): [0] the main line, then the variations in the
    // order they were made or read; empty while the record has no variation. The line on the board is
    // kept in turns_ and record_: its entry here, and its part of the lines it branches off, are
    // brought up to date (StoreLine) only when another line is taken up or the record is written.
    struct TLine {
        int Parent = -1;          // the line it branches off; -1 for the main line
        int At = 0;               // the moves before its first
        std::vector<TTurn> Turns; // its own moves
        TGameEnd End;
        TSeats Seats;
        // What the game had for playing on when the line was left: the events up to the line's
        // moves, and COM's generator at its end.
        TKifContinuation Cont;
        bool Empty() const { return Turns.empty() && !End.Over(); }
    };
    std::vector<TLine> lines_;
    int line_ = 0;

    // GameSession.cpp: the players and the turn.
    void BeginNewGame(KifStart start, const TEditedStart& edited = {});
    TKyokumen StartPosition() const { return KifStartPosition(record_.Start, record_.Edited); }
    TKyokumen PositionAfter(int n) const;
    int MattaCount() const;
    void SeatPlayers();
    IPlayer* PlayerOf(Side side) const { return players_[std::size_t(side)]; }
    bool IsComputer(Side side) const { return record_.Seats[side].Computer(); }
    void StartGame(KifStart start, const TEditedStart& edited = {});
    bool PlayHumanMove(int from, int to, TTurnReport& report);
    void AskComputer(TTurnReport& report);
    void OnReply(std::uint64_t ask, const TOpponentReply& reply, TTurnReport* sync);
    void FinishReply(const TOpponentReply& reply, TTurnReport& report);
    bool CheckReply(const TOpponentReply& reply, TTurnReport& report);
    void PlayMove(const TMove& played, bool computer, TTurnReport& report);
    void ShowComputerMove(TTurnReport& report);
    bool Judged(TTurnReport& report);
    void CancelPending();
    std::vector<TMove> LegalFor(Side side) const;
    // SessionTexts.cpp: the words of a turn.
    bool PersonAgainstComputer() const;
    std::string GameGreeting() const;
    std::string TurnOwnerText() const;
    std::string MoveWords(const TMove& m) const;
    std::string IllegalMoveText(bool leavesCheck) const;
    std::string MoveLabel(const TReportedMove& m) const;
    std::string ThinkingText(Side side) const;
    std::string CheckText(Side mover) const;
    std::string TotalTimeText() const;
    std::string ComputerErrorBox(Side side, const std::string& error) const;
    std::string IllegalReplyBox(const TMove& m) const;
    std::string IllegalReplyText(const TMove& m) const;
    std::string EndWords(const TGameEnd& end, bool boxWords) const;
    std::string EndBox(const TGameEnd& end) const;
    std::string WinnerStatus(const TGameEnd& end) const;
    std::string EndingNote(int k) const;
    void SetMessage(std::string text);
    void SetStatus(std::string text);
    void Box(const std::string& text, TTurnReport* report);
    // SessionCommands.cpp: the end of a game, take-back.
    void FinishGame(const TGameEnd& end, const std::string& label);
    std::string MattaRefusal() const;
    void TakeBackMoves(int count);
    // SessionBoard.cpp: the board, the replay and earlier positions.
    void ClearBoard();
    void DrawPosition(const TKyokumen& k);
    void EnterReplayMode();
    void LeaveReplayMode();
    void RemoveFrames();
    void ReplayMove(int k, SessionFrame frame, TMove& shown);
    void MarkLatestTurn();
    void ShowLivePosition(int n);
    // SessionRecord.cpp: the record.
    void ResetKifu();
    static std::vector<std::string> RecordHeader(const std::string& date, const TKyokumen& start,
                                                 const TSeats& seats);
    std::string TurnLine(std::size_t i) const;
    void KeepRecord();
    void NoteFormation();
    void NoteTakeBack(const TTurn& human, const TTurn* com);
    void TakeRecord(const TKifRecord& r);
    // SessionVariations.cpp: the lines of play.
    void StoreLine(std::vector<TLine>& lines) const;
    std::vector<TLine> StoredLines() const;
    // A record of this game's start holding the turns of one line from its start, with its end, seats
    // and continuation.
    TKifRecord RecordOf(const std::vector<TTurn>& turns, const TGameEnd& end, const TSeats& seats,
                        const TKifContinuation& cont) const;
    static std::vector<TTurn> PathTurns(const std::vector<TLine>& lines, int k);
    static std::vector<TLine> LinesOf(const TKifRecord& r);
    void DropEmptyLine(int keep);
    int LineFloor() const;
    void ShowLine(int k, int n);
    // PlayOn.cpp: continuing a game.
    // A game played aside, with the view it shows nothing on.
    struct TAside;
    // How a game played aside is taken over: as a new game, as the kept game it continues, or as a
    // variation of the record on the board.
    enum class Adoption { NewGame, Kept, Variation };
    std::unique_ptr<TAside> PlayAside(const TKifRecord& r, int n, bool kept) const;
    int ContinueFrom(const TKifRecord& r, int n, const std::filesystem::path* keptFile);
    void CheckPlayOn(const TKifRecord& r, int n, bool kept) const;
    void CheckEndSeed(const TKifRecord& r, int n, TGameSession& aside) const;
    void ReplayRecorded(const TKifRecord& r, int n);
    void PlayRecordedTo(const TKifRecord& r, int count);
    bool ReplayEvent(const TKifRecord& r, const TKifEvent& event, int n);
    void PlayRecordedMove(const TKifRecord& r, std::size_t i);
    void AdoptGame(TGameSession& s, const TKifRecord& r, Adoption as);
    void ShowContinuedGame(const std::string& head);
};

struct TGameSession::TAside {
    explicit TAside(TSessionHooks hooks) : Game(View, std::move(hooks)) {}
    TQuietView View;
    TGameSession Game;
};

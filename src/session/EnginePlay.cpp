#include "session/EnginePlay.h"

#include "engine/EngineNotation.h"
#include "session/Kif.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// The longest stretch of a line put into words: enough to show the idea, short enough for one line.
constexpr std::size_t kLineMoves = 8;

// The engine's line in KIF words from the side to move, as far as this game's rules follow it; the
// first move's words go to first, the moves followed to moves.
std::string LineWords(TKyokumen k, bool com, const std::vector<std::string>& line, std::string& first,
                      std::vector<TMove>* moves = nullptr) {
    std::string words;
    for (std::size_t i = 0; i < line.size() && i < kLineMoves; ++i) {
        const std::optional<TMove> m = MoveFromEngine(line[i], k, com);
        if (!m) break;
        if (moves != nullptr) moves->push_back(*m);
        const std::string word =
            (com ? "△" : "▲") + DisplayMoveName(*m, k.Board[std::size_t(m->From)],
                                                k.Board[std::size_t(m->To)] != PieceName::Empty,
                                                PromotesOnArrival(*m));
        if (i == 0) first = word;
        // Western moves run together would read as one word.
        if (i > 0 && DisplayLanguage() == TTextLanguage::English) words += ' ';
        words += word;
        k.ComToMove = com;
        k.ApplyMove(*m);
        com = !com;
    }
    return words;
}

} // namespace

std::string EngineLineWords(const TKyokumen& k, bool com, const std::vector<std::string>& line,
                            std::vector<TMove>* moves) {
    std::string first;
    return LineWords(k, com, line, first, moves);
}

TEngineSearch SearchAt(TEngineLevel level) {
    TEngineSearch search;
    search.Skill = level.Skill;
    search.MoveTime = std::chrono::milliseconds(level.MoveTimeMs);
    search.Nodes = level.Nodes;
    search.Lines = 3;
    return search;
}

std::string TEngineProposal::Evaluation(Side viewpoint) const {
    // The engine speaks for the side to move; the other side sees the opposite.
    const bool mover = (viewpoint == Side::Gote) == Com;
    if (Mate) {
        // "mate 0": the side to move is mated already.
        const bool viewpointMates = (*Mate > 0) == mover;
        return (viewpointMates ? "+" : "-") +
               TrArg(Tr("EnginePlay", "詰%1"), {std::to_string(std::abs(*Mate))});
    }
    if (Cp) {
        const int value = mover ? *Cp : -*Cp;
        return (value >= 0 ? "+" : "") + std::to_string(value);
    }
    return {};
}

std::string HintText(const TEngineProposal& p, Side viewpoint) {
    const std::string value = p.Evaluation(viewpoint);
    if (value.empty()) return TrArg(Tr("EnginePlay", "ヒント: %1"), {p.MoveText});
    return TrArg(Tr("EnginePlay", "ヒント: %1　評価値 %2"), {p.MoveText, value});
}

std::string HintComment(const TEngineProposal& p, Side viewpoint) {
    const TRecordTexts japanese;
    const std::string value = p.Evaluation(viewpoint);
    if (value.empty()) return TrArg(Tr("EnginePlay", "ヒント: %1"), {p.RecordMoveText});
    return TrArg(Tr("EnginePlay", "ヒント: %1　評価値 %2"), {p.RecordMoveText, value});
}

std::string EngineFailureText(const std::string& reason) {
    return TrArg(Tr("EnginePlay",
                    "エンジンが故障しました（%1）。待ったで手を戻すか、対戦相手を標準COMにすると"
                    "対局を続けられます"),
                 {reason});
}

// ---------------------------------------------------------------------------------------------
// The seat

TEngineSeat::TEngineSeat(TEngineSettings settings) : settings_(std::move(settings)) {}

TEngineSettings TEngineSeat::DefaultSettings() {
    TEngineSettings s;
    // Another program in the engine's place (tests start a missing one to see the game go on).
    if (const char* program = std::getenv("MIRUTOA_ENGINE"); program != nullptr && *program != '\0')
        s.Program = program;
    s.VariantFile = FindVariantFile();
    return s;
}

bool TEngineSeat::Installed() const {
    return !FindEngineProgram(settings_.Program).empty();
}

void TEngineSeat::Ask(const TKyokumen& k, bool com, std::vector<TMove> legal, TEngineLevel level,
                      DoneFn done) {
    Ask(k, com, std::move(legal), SearchAt(level), std::move(done));
}

void TEngineSeat::Ask(const TKyokumen& k, bool com, std::vector<TMove> legal, TEngineSearch search,
                      DoneFn done) {
    Cancel();
    position_ = k;
    com_ = com;
    legal_ = std::move(legal);
    search_ = std::move(search);
    retried_ = false;
    done_ = std::move(done);
    if (!Installed()) return Finish(TEngineStatus::Fail(EngineError::NotFound, MissingText()));
    if (TEngineStatus s = StartSearch(); !s) Failed(s);
}

void TEngineSeat::Warm() {
    // A failure here shows again, with its message, at the first request.
    if (!Busy() && Installed() && !client_.Running()) (void)client_.Launch(settings_);
}

TEngineStatus TEngineSeat::StartSearch() {
    if (!client_.Running())
        if (TEngineStatus s = client_.Launch(settings_); !s) return s;
    return client_.Go(position_, com_, search_);
}

void TEngineSeat::Failed(TEngineStatus s) {
    // A missing program or variant file stays missing; anything else gets one fresh engine.
    const bool lasting = s.Error == EngineError::NotFound || s.Error == EngineError::VariantMissing;
    if (!retried_ && !lasting) {
        retried_ = true;
        client_.Stop();
        if (Restarted)
            Restarted(TrArg(Tr("EnginePlay", "エンジンが止まったので再起動しました（%1）"), {s.Message}));
        TEngineStatus again = StartSearch();
        if (again) return;
        s = again;
    }
    client_.Stop();
    Finish(s);
}

void TEngineSeat::Finish(const TEngineStatus& s) {
    DoneFn done = std::move(done_);
    done_ = nullptr;
    done(s, s ? Choose() : TEngineProposal{});
}

void TEngineSeat::Poll() {
    bool finished = false;
    const TEngineStatus s = client_.Poll(finished);
    // Without a request this only reads the end of a dropped search (or finds the engine hung on it).
    if (!done_) return;
    if (!s)
        Failed(s);
    else if (finished)
        Finish(s);
}

void TEngineSeat::Wait() {
    while (done_) {
        if (TEngineStatus s = client_.Wait(); !s)
            Failed(s);
        else
            Finish(s);
    }
}

void TEngineSeat::Cancel() {
    if (!done_) return;
    done_ = nullptr;
    client_.Abort();
}

// The engine's choice if this game allows it, else the first of its other lines that it allows.
TEngineProposal TEngineSeat::Choose() const {
    const TEngineResult& r = client_.Result();
    if (r.Resigns) {
        TEngineProposal p;
        p.Resigns = true;
        p.Com = com_;
        return p;
    }
    std::vector<std::string> candidates;
    if (!r.BestMove.empty()) candidates.push_back(r.BestMove);
    for (const TEngineLine& line : r.Lines)
        if (!line.Pv.empty()) candidates.push_back(line.Pv.front());
    for (const std::string& text : candidates) {
        const std::optional<TMove> m = MoveFromEngine(text, position_, com_);
        if (!m) continue;
        const auto legal = std::find_if(legal_.begin(), legal_.end(),
                                        [&m](const TMove& l) { return l.From == m->From && l.To == m->To; });
        if (legal == legal_.end()) continue;
        TEngineProposal p;
        p.Found = true;
        p.Com = com_;
        p.Move = *legal;
        std::vector<std::string> line{text};
        for (const TEngineLine& l : r.Lines)
            if (!l.Pv.empty() && l.Pv.front() == text) {
                p.Cp = l.ScoreCp;
                p.Mate = l.ScoreMate;
                line = l.Pv;
                break;
            }
        p.Line = LineWords(position_, com_, line, p.MoveText);
        const TRecordTexts japanese;
        p.RecordLine = LineWords(position_, com_, line, p.RecordMoveText);
        return p;
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The opponents

void TEnginePlayer::NewGame(const TKyokumen& start, Side, const TSeat&) {
    start_ = start;
    played_.clear();
    Replay();
}

void TEnginePlayer::Moved(const TMove& played, Side mover) {
    played_.emplace_back(played, mover);
    if (!known_) return;
    try {
        // The piece on the square says whether the move promotes: a move list may name a promoted
        // piece by its unpromoted name.
        const TMove m{played.From, played.To, now_.Board[std::size_t(played.From)]};
        texts_.push_back(EngineMoveText(m));
        now_.ComToMove = mover == Side::Gote;
        now_.ApplyMove(played);
        now_.ComToMove = mover == Side::Sente;
    } catch (const std::exception&) {
        known_ = false;
    }
}

void TEnginePlayer::TookBack(bool replyMissing) {
    played_.resize(played_.size() - std::min(played_.size(), std::size_t(replyMissing ? 1 : 2)));
    Replay();
}

void TEnginePlayer::Replay() {
    now_ = start_;
    texts_.clear();
    known_ = true;
    const std::vector<std::pair<TMove, Side>> moves = std::move(played_);
    played_.clear();
    for (const auto& [m, mover] : moves) Moved(m, mover);
}

TEngineLevel TEnginePlayer::Settings() const {
    return kEngineLevels[std::size_t(std::clamp(level_, 1, int(kEngineLevels.size())) - 1)];
}

void TEnginePlayer::Think(const TMoveRequest& request, ReplyFn reply) {
    TEngineSearch search = SearchAt(Settings());
    if (known_ && now_.Board == request.Position.Board && SideToMove(now_) == request.ToMove) {
        search.StartFen = EngineFen(start_, start_.ComToMove);
        search.Played = texts_;
    }
    // Every evaluation is told from the viewer's side, as the hint's is.
    seat_.Ask(request.Position, request.ToMove == Side::Gote, request.Legal, std::move(search),
              [reply, viewpoint = request.Viewer](const TEngineStatus& s, const TEngineProposal& p) {
                  TOpponentReply r;
                  if (!s) {
                      r.Error = EngineFailureText(s.Message);
                  } else if (p.Resigns) {
                      r.Resigns = true;
                  } else if (!p.Found) {
                      r.Error = EngineFailureText(Tr("EnginePlay", "このゲームで指せる手を答えませんでした"));
                  } else {
                      r.Move = p.Move;
                      // Made while the record's texts are in force or not: a mate reads "詰" or "M".
                      const auto words = [&p, viewpoint](const std::string& line) {
                          const std::string value = p.Evaluation(viewpoint);
                          if (value.empty()) return TrArg(Tr("EnginePlay", "エンジン: 読み筋 %1"), {line});
                          return TrArg(Tr("EnginePlay", "エンジン: 評価値 %1　読み筋 %2"), {value, line});
                      };
                      r.ShownText = words(p.Line);
                      const TRecordTexts japanese;
                      r.Text = words(p.RecordLine);
                  }
                  reply(r);
              });
}

#include "ui/VariationMoves.h"

#include "board/Legality.h"
#include "session/GameSession.h"
#include "ui/Dialogs.h"
#include "ui/RecordFiles.h"

#include <QSettings>

namespace {

// Beside the other settings of records (対局を自動保存).
const char* const kAnswerKey = "records/newMoveOnLookedAt";

bool IsSquare(int sq) {
    return sq >= 0 && OnBoard(FileOf(sq), RankOf(sq));
}

// The position shown with the side to move there set, as the rules read it.
TKyokumen ShownToMove(const TGameSession& session, Side& side) {
    side = session.ShownSetup().ToMove;
    TKyokumen k = session.ShownPosition();
    k.ComToMove = side == Side::Gote;
    return k;
}

} // namespace

THumanMoveTest ShownMoveTest(const TGameSession& session, int from, int to) {
    if (!IsSquare(from) || !IsSquare(to)) return {};
    Side side = Side::Sente;
    const TKyokumen k = ShownToMove(session, side);
    return TestMove(k, side, from, to);
}

std::vector<int> ShownDestinations(const TGameSession& session, int from) {
    std::vector<int> squares;
    if (!IsSquare(from)) return squares;
    Side side = Side::Sente;
    const TKyokumen k = ShownToMove(session, side);
    const PieceName piece = k.Board[std::size_t(from)];
    if (piece == PieceName::Empty || SideOf(piece) != side) return squares;
    TMoveList legal;
    LegalMoves(k, side, legal);
    for (const TMove& m : legal)
        if (m.From == from) squares.push_back(m.To);
    return squares;
}

TVariationMoves::TVariationMoves(IDialogs& dialogs, TRecordFiles& records, QObject* parent)
    : QObject(parent), dialogs_(dialogs), records_(records) {}

bool TVariationMoves::Concerns() const {
    return session_ != nullptr && (session_->ReplayMode() || session_->Browsing());
}

TVariationMoves::Answer TVariationMoves::KeptAnswer() {
    const QString kept = QSettings().value(QString::fromLatin1(kAnswerKey)).toString();
    if (kept == QLatin1String("variation")) return Answer::Variation;
    if (kept == QLatin1String("newGame")) return Answer::NewGame;
    return Answer::Ask;
}

void TVariationMoves::KeepAnswer(Answer answer) {
    QSettings settings;
    if (answer == Answer::Ask)
        settings.remove(QString::fromLatin1(kAnswerKey));
    else
        settings.setValue(QString::fromLatin1(kAnswerKey), answer == Answer::Variation
                                                               ? QStringLiteral("variation")
                                                               : QStringLiteral("newGame"));
}

void TVariationMoves::Take(int from, int to, const std::function<void(int, int)>& play) {
    if (!Concerns() || from == to) return;
    // A drag that is no legal move goes back where it came from, as on the game's latest position.
    const THumanMoveTest test = ShownMoveTest(*session_, from, to);
    if (test.Result != THumanMoveTest::Legal) return;
    const int n = session_->ShownMove() + 1;
    if (Follow(n, test.Move)) return;
    // Only a person's move is asked about: a computer's side plays on (or is refused) as it would. At
    // the end of a line that goes on (the game left for another line, say) the line itself goes on.
    const Side side = session_->ShownSetup().ToMove;
    const bool lineEnd = session_->ShownMove() == session_->MoveCount();
    const Answer answer = session_->Seats()[side].Computer() || lineEnd ? Answer::Variation : Ask(n);
    if (answer == Answer::Ask) return;
    if (answer == Answer::NewGame) {
        if (records_.PlayOn(false)) play(from, to);
        return;
    }
    try {
        session_->Branch();
    } catch (const TPlayOnRefusal& refusal) {
        records_.ShowRefusal(refusal);
        return;
    }
    emit lineChanged();
    play(from, to);
}

bool TVariationMoves::Follow(int n, const TMove& move) {
    for (const TGameSession::TAlternative& alt : session_->Alternatives(n)) {
        if (alt.Shown.Empty() || alt.Shown.From != move.From || alt.Shown.To != move.To) continue;
        // While a computer's reply runs, nothing is followed and nothing is asked.
        if (session_->EnterLine(alt.Line, n)) emit lineChanged();
        return true;
    }
    return false;
}

TVariationMoves::Answer TVariationMoves::Ask(int n) {
    const Answer kept = KeptAnswer();
    if (kept != Answer::Ask) return kept;
    bool keep = false;
    const QString where = n == 1 ? tr("開始局面") : tr("%1手目の局面").arg(n - 1);
    const int choice = dialogs_.Choose(tr("%1に、棋譜にない手を指します。\r\n変化として棋譜に加えますか？ "
                                          "この局面から新しい対局を始めますか？")
                                           .arg(where),
                                       tr("変化として追加"), tr("新しい対局"), tr("次から確認しない"), keep);
    if (choice < 0) return Answer::Ask;
    const Answer answer = choice == 0 ? Answer::Variation : Answer::NewGame;
    if (keep) KeepAnswer(answer);
    return answer;
}

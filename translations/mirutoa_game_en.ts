<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Analysis</name>
    <message>
        <source>悪手</source>
        <translation>Blunder</translation>
    </message>
    <message>
        <source>疑問手</source>
        <translation>Dubious</translation>
    </message>
</context>
<context>
    <name>ComReason</name>
    <message>
        <source>自玉を取られた</source>
        <translation>My king was taken</translation>
    </message>
    <message>
        <source>王一枚のみになった</source>
        <translation>Only my king is left</translation>
    </message>
    <message>
        <source>読みで自玉の危険を回避</source>
        <translation>Reading ahead: my king out of danger</translation>
    </message>
    <message>
        <source>自玉の近くで駒を取る</source>
        <translation>Capturing near my king</translation>
    </message>
    <message>
        <source>王手を回避</source>
        <translation>Escaping check</translation>
    </message>
    <message>
        <source>王手を回避（読みでは苦しい）</source>
        <translation>Escaping check (hard by reading)</translation>
    </message>
    <message>
        <source>王手を逃れる手がない</source>
        <translation>No way out of check</translation>
    </message>
    <message>
        <source>一手詰め</source>
        <translation>Mate in one</translation>
    </message>
    <message>
        <source>王手で両取り</source>
        <translation>Check with a fork</translation>
    </message>
    <message>
        <source>大駒を取る</source>
        <translation>Taking a major piece</translation>
    </message>
    <message>
        <source>飛車を逃がす</source>
        <translation>Saving the rook</translation>
    </message>
    <message>
        <source>角を逃がす</source>
        <translation>Saving the bishop</translation>
    </message>
    <message>
        <source>玉を７一方面へ早逃げ</source>
        <translation>Early king flight toward 7a</translation>
    </message>
    <message>
        <source>玉を３一方面へ早逃げ</source>
        <translation>Early king flight toward 3a</translation>
    </message>
    <message>
        <source>駒を取る</source>
        <translation>Capturing a piece</translation>
    </message>
    <message>
        <source>相手玉を取れる</source>
        <translation>The opponent&apos;s king can be taken</translation>
    </message>
    <message>
        <source>相手玉に接して王手</source>
        <translation>Contact check on the opponent&apos;s king</translation>
    </message>
    <message>
        <source>狙われた浮き駒を逃がす</source>
        <translation>Saving a loose piece under attack</translation>
    </message>
    <message>
        <source>安い駒に狙われた駒を逃がす</source>
        <translation>Saving a piece attacked by a cheaper one</translation>
    </message>
    <message>
        <source>次に飛車で駒を取る狙い</source>
        <translation>Aiming to capture with the rook next</translation>
    </message>
    <message>
        <source>狙われた歩を守る</source>
        <translation>Defending an attacked pawn</translation>
    </message>
    <message>
        <source>狙われた駒を守る</source>
        <translation>Defending an attacked piece</translation>
    </message>
    <message>
        <source>相手の大駒か玉を狙う</source>
        <translation>Aiming at a major piece or the king</translation>
    </message>
    <message>
        <source>飛車先に駒を進める</source>
        <translation>Advancing on the rook&apos;s file</translation>
    </message>
    <message>
        <source>相手の攻めから離れて囲う</source>
        <translation>Castling away from the attack</translation>
    </message>
    <message>
        <source>駒の損得を読んだ一手</source>
        <translation>A move weighing material</translation>
    </message>
    <message>
        <source>相手玉に迫る</source>
        <translation>Closing in on the king</translation>
    </message>
    <message>
        <source>攻めの一手</source>
        <translation>An attacking move</translation>
    </message>
    <message>
        <source>自玉の守りを固める</source>
        <translation>Strengthening my king&apos;s guard</translation>
    </message>
    <message>
        <source>ランダムな一手</source>
        <translation>A random move</translation>
    </message>
    <message>
        <source>指せる手がない</source>
        <translation>No move to play</translation>
    </message>
    <message>
        <source>%1の駒組み %2手目</source>
        <translation>Building %1, step %2</translation>
    </message>
</context>
<context>
    <name>EnginePlay</name>
    <message>
        <source>詰%1</source>
        <translation>M%1</translation>
    </message>
    <message>
        <source>ヒント: %1&#x3000;評価値 %2</source>
        <translation>Hint: %1   eval %2</translation>
    </message>
    <message>
        <source>エンジンが止まったので再起動しました（%1）</source>
        <translation>The engine stopped and was restarted (%1)</translation>
    </message>
    <message>
        <source>エンジン: 評価値 %1&#x3000;読み筋 %2</source>
        <translation>Engine: eval %1, line %2</translation>
    </message>
    <message>
        <source>ヒント: %1</source>
        <translation>Hint: %1</translation>
    </message>
    <message>
        <source>エンジンが故障しました（%1）。待ったで手を戻すか、対戦相手を標準COMにすると対局を続けられます</source>
        <translation>The engine failed (%1). Take the move back, or pick the standard COM as the opponent, to go on with the game</translation>
    </message>
    <message>
        <source>このゲームで指せる手を答えませんでした</source>
        <translation>it answered no move this game allows</translation>
    </message>
    <message>
        <source>エンジン: 読み筋 %1</source>
        <translation>Engine: line %1</translation>
    </message>
</context>
<context>
    <name>Formation</name>
    <message>
        <source>【基本形】</source>
        <translation>Basic setup</translation>
    </message>
    <message>
        <source>【中飛車】</source>
        <translation>Central rook</translation>
    </message>
    <message>
        <source>【矢倉囲い】</source>
        <translation>Yagura castle</translation>
    </message>
    <message>
        <source>【船囲い】</source>
        <translation>Boat castle</translation>
    </message>
    <message>
        <source>【穴熊】</source>
        <translation>Anaguma castle</translation>
    </message>
    <message>
        <source>【居飛車穴熊】</source>
        <translation>Static rook Anaguma</translation>
    </message>
    <message>
        <source>【四間飛車】</source>
        <translation>Fourth file rook</translation>
    </message>
    <message>
        <source>【三間飛車】</source>
        <translation>Third file rook</translation>
    </message>
    <message>
        <source>【向かい飛車】</source>
        <translation>Opposing rook</translation>
    </message>
    <message>
        <source>【ミルトア式BIG4 改】</source>
        <translation>Mirutoa BIG4 (revised)</translation>
    </message>
    <message>
        <source>【ミルトア式雪崩囲い】</source>
        <translation>Mirutoa avalanche castle</translation>
    </message>
    <message>
        <source>【ミルトア式変則矢倉】</source>
        <translation>Mirutoa irregular Yagura</translation>
    </message>
    <message>
        <source>【ミルトア式十字穴熊】</source>
        <translation>Mirutoa cross Anaguma</translation>
    </message>
    <message>
        <source>【ミルトア式黄金囲い】</source>
        <translation>Mirutoa golden castle</translation>
    </message>
</context>
<context>
    <name>GameSession</name>
    <message>
        <source>プログラム上のバグです。致命的な状況なのでゲームを中断します。<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>A fault in the program: the game cannot go on and stops here.<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>エラー内容は %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>%1手目</source>
        <translation>Move %1</translation>
    </message>
    <message>
        <source>あなたの番です<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
（COMの陣形は%1に設定されました）</source>
        <translation>Your move<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
(COM&apos;s formation is set to %1)</translation>
    </message>
    <message>
        <source>%1の駒組み中</source>
        <translation>COM is building: %1</translation>
    </message>
    <message>
        <source>COMが王手しました！</source>
        <translation>Check by COM!</translation>
    </message>
    <message>
        <source>COM消費時間： %1秒</source>
        <translation>COM total time: %1 s</translation>
    </message>
    <message>
        <source>あなたの番です。<byte value="xd"/>
<byte value="xd"/>
駒の動かし方が不正です。</source>
        <translation>Your move.<byte value="xd"/>
<byte value="xd"/>
That piece cannot move there.</translation>
    </message>
    <message>
        <source>あなたの番です。<byte value="xd"/>
<byte value="xd"/>
駒の動かし方が不正です。王手の放置です。</source>
        <translation>Your move.<byte value="xd"/>
<byte value="xd"/>
Illegal: it leaves your king in check.</translation>
    </message>
    <message>
        <source>人の駒移動でエラー発生</source>
        <translation>Error while making your move</translation>
    </message>
    <message>
        <source>%1手目 あなたの指し手:<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation>Move %1, yours:<byte value="xd"/>
<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>COM思考中。。。。</source>
        <translation>COM is thinking....</translation>
    </message>
    <message>
        <source>COM思考でエラー発生</source>
        <translation>Error in COM&apos;s thinking</translation>
    </message>
    <message>
        <source>王の詰みです。あなたの勝ちです。</source>
        <translation>COM&apos;s king is mated. You win.</translation>
    </message>
    <message>
        <source>王一枚のみになったので終了です。あなたの勝ちです。</source>
        <translation>COM has only its king left. You win.</translation>
    </message>
    <message>
        <source>詰みです。COMの勝ちです。</source>
        <translation>Checkmate. COM wins.</translation>
    </message>
    <message>
        <source>王一枚のみとなったので終了です。COMの勝ちです。</source>
        <translation>You have only your king left. COM wins.</translation>
    </message>
    <message>
        <source>COM思考でエラー発生<byte value="xd"/>
<byte value="xd"/>
COMの指し手が得られませんでした。致命的な状況なのでゲームを中断します。</source>
        <translation>Error in COM&apos;s thinking<byte value="xd"/>
<byte value="xd"/>
COM gave no move: the game cannot go on and stops here.</translation>
    </message>
    <message>
        <source>COMの駒移動でエラー発生</source>
        <translation>Error while making COM&apos;s move</translation>
    </message>
    <message>
        <source>%1手目 COMの指し手:<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation>Move %1, COM&apos;s:<byte value="xd"/>
<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>COM思考： %1秒</source>
        <translation>COM thought: %1 s</translation>
    </message>
    <message>
        <source>COMの応手を待っています。待ったできません。</source>
        <translation>Waiting for COM&apos;s reply. No take-back now.</translation>
    </message>
    <message>
        <source>前の局面を表示中です。待ったできません。</source>
        <translation>An earlier position is shown. No take-back now.</translation>
    </message>
    <message>
        <source>待ったは一度だけです。</source>
        <translation>Only one take-back at a time.</translation>
    </message>
    <message>
        <source>棋譜再現中です。待ったできません。</source>
        <translation>Replaying a record. No take-back.</translation>
    </message>
    <message>
        <source>すでに初期状態です。待ったできません。</source>
        <translation>Already at the start. No take-back.</translation>
    </message>
    <message>
        <source>COMの勝ちで投了です。待ったできません。</source>
        <translation>COM has won; the game is over. No take-back.</translation>
    </message>
    <message>
        <source>あなたの勝ちで投了です。待ったできません。</source>
        <translation>You have won; the game is over. No take-back.</translation>
    </message>
    <message>
        <source>待ったでエラー発生</source>
        <translation>Error during the take-back</translation>
    </message>
    <message>
        <source>待ったをしました</source>
        <translation>Take-back done</translation>
    </message>
    <message>
        <source>初期状態に戻りました</source>
        <translation>Back at the start</translation>
    </message>
    <message>
        <source>戻した指し手:</source>
        <translation>Moves taken back:</translation>
    </message>
    <message>
        <source>棋譜再現モード<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
初期状態まで棋譜を戻しました。このあと一手ずつ再生することができます。</source>
        <translation>Replay mode<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
The record is back at the start. Step through it one move at a time.</translation>
    </message>
    <message>
        <source>棋譜再現でエラー発生</source>
        <translation>Error during the replay</translation>
    </message>
    <message>
        <source>棋譜再現モード</source>
        <translation>Replay mode</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;詰みであなたの勝ち</source>
        <translation>Checkmate after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;詰みでCOMの勝ち</source>
        <translation>Checkmate after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;投了でCOMの勝ち</source>
        <translation>Resigned after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;王一枚であなたの勝ち</source>
        <translation>Bare king after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;王一枚でCOMの勝ち</source>
        <translation>Bare king after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>投了しました。COMの勝ちです。</source>
        <translation>You resigned. COM wins.</translation>
    </message>
    <message>
        <source>あなたの勝ちです。</source>
        <translation>You win.</translation>
    </message>
    <message>
        <source>COMの勝ちです。</source>
        <translation>COM wins.</translation>
    </message>
    <message>
        <source>%1手目の局面を表示中です。Endで対局に戻ってから指してください。</source>
        <translation>The position after move %1 is only being looked at. Press End to go back to the game, then move.</translation>
    </message>
    <message>
        <source>%1手目を表示中 — Endで対局に戻る</source>
        <translation>Showing move %1 — End returns to the game</translation>
    </message>
    <message>
        <source>観戦中は待ったできません。</source>
        <translation>No take-back while watching.</translation>
    </message>
    <message>
        <source>▲先手</source>
        <translation>▲Black</translation>
    </message>
    <message>
        <source>△後手</source>
        <translation>▲Sente</translation>
    </message>
    <message>
        <source>編集した局面から対局します。</source>
        <translation>Playing from the edited position.</translation>
    </message>
    <message>
        <source>あなたの番です</source>
        <translation>Your move</translation>
    </message>
    <message>
        <source>あなたは後手です。相手が先に指します</source>
        <translation>You play second. Your opponent moves first</translation>
    </message>
    <message>
        <source>ふたりで対局します。▲先手の番です</source>
        <translation>Two players at one board. ▲Black to move</translation>
    </message>
    <message>
        <source>観戦します: ▲%1 対 △%2</source>
        <translation>Watching: ▲%1 against △%2</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
（COMの陣形は%1に設定されました）</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
(COM&apos;s formation is set to %1)</translation>
    </message>
    <message>
        <source>あなた</source>
        <translation>You</translation>
    </message>
    <message>
        <source>エンジン Lv%1</source>
        <translation>Engine level %1</translation>
    </message>
    <message>
        <source>%1の番です</source>
        <translation>%1 to move</translation>
    </message>
    <message>
        <source>観戦中です</source>
        <translation>Watching</translation>
    </message>
    <message>
        <source>COMの番です</source>
        <translation>COM to move</translation>
    </message>
    <message>
        <source>%1の番です。</source>
        <translation>%1 to move.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
駒の動かし方が不正です。王手の放置です。</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Illegal: it leaves the king in check.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
駒の動かし方が不正です。</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
That piece cannot move there.</translation>
    </message>
    <message>
        <source>%1手目 %2の指し手:<byte value="xd"/>
<byte value="xd"/>
%3</source>
        <translation>Move %1, %2:<byte value="xd"/>
<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source>エンジン思考中。。。。</source>
        <translation>The engine is thinking....</translation>
    </message>
    <message>
        <source>%1が王手しました！</source>
        <translation>Check by %1!</translation>
    </message>
    <message>
        <source>%1の指し手は指せない手です（%2）。対局を中断します。</source>
        <translation>%1 gave a move that cannot be made (%2). The game stops here.</translation>
    </message>
    <message>
        <source>%1の反則:%2（自玉に王手がかかったままです）</source>
        <translation>Foul by %1:%2 (it leaves its own king in check)</translation>
    </message>
    <message>
        <source>詰みです。%1の勝ちです。</source>
        <translation>Checkmate. %1 wins.</translation>
    </message>
    <message>
        <source>王一枚のみとなったので終了です。%1の勝ちです。</source>
        <translation>Only a king is left. %1 wins.</translation>
    </message>
    <message>
        <source>COMに指せる手がありません。あなたの勝ちです。</source>
        <translation>COM has no legal move. You win.</translation>
    </message>
    <message>
        <source>指せる手がありません。COMの勝ちです。</source>
        <translation>You have no legal move. COM wins.</translation>
    </message>
    <message>
        <source>%2に指せる手がありません。%1の勝ちです。</source>
        <translation>%2 has no legal move. %1 wins.</translation>
    </message>
    <message>
        <source>COMが投了しました。あなたの勝ちです。</source>
        <translation>COM resigned. You win.</translation>
    </message>
    <message>
        <source>%2が投了しました。%1の勝ちです。</source>
        <translation>%2 resigned. %1 wins.</translation>
    </message>
    <message>
        <source>連続王手の千日手です。COMの負けです。</source>
        <translation>Repetition by perpetual check. COM loses.</translation>
    </message>
    <message>
        <source>連続王手の千日手です。あなたの負けです。</source>
        <translation>Repetition by perpetual check. You lose.</translation>
    </message>
    <message>
        <source>連続王手の千日手です。%2の負けです。</source>
        <translation>Repetition by perpetual check. %2 loses.</translation>
    </message>
    <message>
        <source>COMの指し手は反則です。あなたの勝ちです。</source>
        <translation>COM&apos;s move is a foul. You win.</translation>
    </message>
    <message>
        <source>反則です。COMの勝ちです。</source>
        <translation>A foul. COM wins.</translation>
    </message>
    <message>
        <source>%2の指し手は反則です。%1の勝ちです。</source>
        <translation>%2&apos;s move is a foul. %1 wins.</translation>
    </message>
    <message>
        <source>千日手です。引き分けです。</source>
        <translation>Fourfold repetition (sennichite). A draw.</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;詰みで%2の勝ち</source>
        <translation>Checkmate after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;王一枚で%2の勝ち</source>
        <translation>Bare king after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;指し手なしであなたの勝ち</source>
        <translation>No legal move after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;指し手なしでCOMの勝ち</source>
        <translation>No legal move after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;指し手なしで%2の勝ち</source>
        <translation>No legal move after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;投了であなたの勝ち</source>
        <translation>Resigned after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;投了で%2の勝ち</source>
        <translation>Resigned after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;連続王手の千日手であなたの勝ち</source>
        <translation>Perpetual check after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;連続王手の千日手でCOMの勝ち</source>
        <translation>Perpetual check after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;連続王手の千日手で%2の勝ち</source>
        <translation>Perpetual check after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;反則であなたの勝ち</source>
        <translation>A foul after %1 moves: you win</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;反則でCOMの勝ち</source>
        <translation>A foul after %1 moves: COM wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;反則で%2の勝ち</source>
        <translation>A foul after %1 moves: %2 wins</translation>
    </message>
    <message>
        <source>まで%1手&#x3000;千日手で引き分け</source>
        <translation>Repetition after %1 moves: a draw</translation>
    </message>
    <message>
        <source>引き分けです。</source>
        <translation>A draw.</translation>
    </message>
    <message>
        <source>%1の勝ちです。</source>
        <translation>%1 wins.</translation>
    </message>
    <message>
        <source>変化の分かれ目より前には待ったできません。</source>
        <translation>A move cannot be taken back past the point where this variation branches off.</translation>
    </message>
</context>
<context>
    <name>KifError</name>
    <message>
        <source>{0} を開けません: {1}</source>
        <translation>Cannot open {0}: {1}</translation>
    </message>
    <message>
        <source>{0} を開けません: 通常のファイルではありません（棋譜は普通のファイルです）</source>
        <translation>Cannot open {0}: not a regular file (a record is an ordinary file)</translation>
    </message>
    <message>
        <source>{0} を読めません: {1}</source>
        <translation>Cannot read {0}: {1}</translation>
    </message>
    <message>
        <source>.txt の棋譜は人が読むためのものです。.kif か .kifu のファイルを開いてください</source>
        <translation>A .txt record is for reading by people; open the .kif or .kifu file</translation>
    </message>
    <message>
        <source>ファイルが{0}バイトを超えています。棋譜としては大きすぎます</source>
        <translation>The file is larger than {0} bytes, far more than any record</translation>
    </message>
    <message>
        <source>テキストが{0}バイトあります。棋譜としては大きすぎます</source>
        <translation>The text holds {0} bytes, far more than any record</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>CP932 の文字でないバイトがあります（.kif は CP932 で、UTF-8 の棋譜は .kifu です）</source>
        <translation>A byte that is not CP932 text (a .kif file is CP932; UTF-8 goes in .kifu)</translation>
    </message>
    <message>
        <source>UTF-8 の文字でないバイトがあります（.kifu は UTF-8 で、CP932 の棋譜は .kif です）</source>
        <translation>A byte that is not UTF-8 text (a .kifu file is UTF-8; CP932 goes in .kif)</translation>
    </message>
    <message>
        <source>{q}: 読めない行です</source>
        <translation>Unreadable line &quot;{q}&quot;</translation>
    </message>
    <message>
        <source>持駒（{q}）があります: このゲームには駒打ちがなく、持駒はありません</source>
        <translation>Pieces in hand ({q}): this game has no drops, so no piece is ever in hand</translation>
    </message>
    <message>
        <source>盤面図は{0}手目の局面です: このゲームは初期配置からの棋譜だけを読みます</source>
        <translation>The board diagram is the position after move {0}: this game reads a record from its start only</translation>
    </message>
    <message>
        <source>盤面図に10段目があります</source>
        <translation>A tenth row in the board diagram</translation>
    </message>
    <message>
        <source>盤面図の{0}段目{1}筋のマスが読めません</source>
        <translation>Unreadable cell in board row {0} at file {1}</translation>
    </message>
    <message>
        <source>盤面図の{0}段目{1}筋の駒が読めません</source>
        <translation>Unreadable piece in board row {0} at file {1}</translation>
    </message>
    <message>
        <source>盤面図の{0}段目は二つの | の間に9マスありません</source>
        <translation>Board row {0} does not hold nine cells between two |</translation>
    </message>
    <message>
        <source>盤面図がないので本将棋の平手の初期配置になりますが、このゲームの初期配置（角が上がっています）とは違います</source>
        <translation>No board diagram, so the game starts from ordinary shogi&apos;s even position, which is not this game&apos;s (its bishops start developed)</translation>
    </message>
    <message>
        <source>盤面図のない手合割：{q} はこのゲームの初期配置ではありません</source>
        <translation>手合割：{q} without a board diagram is not a start of this game</translation>
    </message>
    <message>
        <source>盤面図が9段でなく{0}段です</source>
        <translation>The board diagram has {0} rows, not 9</translation>
    </message>
    <message>
        <source>対局の終わり（{0}行目）の後に指し手があります</source>
        <translation>A move after the end of the game (line {0})</translation>
    </message>
    <message>
        <source>{1}手目のところが{0}手目になっています</source>
        <translation>Move number {0} where {1} was expected</translation>
    </message>
    <message>
        <source>このゲームに{0}での終局はありません</source>
        <translation>This game has no ending by {0}</translation>
    </message>
    <message>
        <source>前の指し手がないのに「同」があります</source>
        <translation>同 (the same square) with no move before it</translation>
    </message>
    <message>
        <source>{q}: 移動先が読めません</source>
        <translation>Unreadable destination in &quot;{q}&quot;</translation>
    </message>
    <message>
        <source>{q}: 駒の名前が読めません</source>
        <translation>Unreadable piece name in &quot;{q}&quot;</translation>
    </message>
    <message>
        <source>駒打ち（打）があります: このゲームには駒打ちがなく、取った駒はゲームから除かれます</source>
        <translation>A drop (打): this game has no drops, captured pieces leave the game</translation>
    </message>
    <message>
        <source>指し手には７六歩(77)のように移動元のマスを括弧に入れて書きます</source>
        <translation>A move names its origin square in parentheses, such as ７六歩(77)</translation>
    </message>
    <message>
        <source>指し手の後の消費時間が読めません</source>
        <translation>Unreadable time after the move</translation>
    </message>
    <message>
        <source>{q}: 指し手の後の文字が読めません</source>
        <translation>Unreadable text after the move: &quot;{q}&quot;</translation>
    </message>
    <message>
        <source>{q}: 対局は{0}手目で終わっています</source>
        <translation>&quot;{q}&quot;: the game was already over after move {0}</translation>
    </message>
    <message>
        <source>{q}: {1}に{0}の駒がありません</source>
        <translation>&quot;{q}&quot;: no piece of {0} stands on {1}</translation>
    </message>
    <message>
        <source>{q}: {0}の駒は{2}でなく{1}です</source>
        <translation>&quot;{q}&quot;: the piece on {0} is {1}, not {2}</translation>
    </message>
    <message>
        <source>{q}: {0}は{1}から{2}へ動けません</source>
        <translation>&quot;{q}&quot;: {0} cannot move from {1} to {2}</translation>
    </message>
    <message>
        <source>{q}: 先手の玉が王手されたままになります</source>
        <translation>&quot;{q}&quot;: it leaves the first player&apos;s king in check</translation>
    </message>
    <message>
        <source>{q}: 成と書かれていますが、この手では成りません</source>
        <translation>&quot;{q}&quot;: 成 is written, but this move does not promote</translation>
    </message>
    <message>
        <source>{q}: ここでは駒が成ります（このゲームでは必ず成ります）が、成と書かれていません</source>
        <translation>&quot;{q}&quot;: the piece promotes here (promotion is forced in this game), but 成 is not written</translation>
    </message>
    <message>
        <source>最初の指し手より前に投了があります</source>
        <translation>投了 before the first move</translation>
    </message>
    <message>
        <source>%1行目: </source>
        <translation>Line %1: </translation>
    </message>
    <message>
        <source>先手</source>
        <translation>the first player</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>the second player</translation>
    </message>
    <message>
        <source>歩</source>
        <translation>Pawn</translation>
    </message>
    <message>
        <source>と</source>
        <translation>Tokin</translation>
    </message>
    <message>
        <source>香</source>
        <translation>Lance</translation>
    </message>
    <message>
        <source>成香</source>
        <translation>Promoted lance</translation>
    </message>
    <message>
        <source>桂</source>
        <translation>Knight</translation>
    </message>
    <message>
        <source>成桂</source>
        <translation>Promoted knight</translation>
    </message>
    <message>
        <source>銀</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>成銀</source>
        <translation>Promoted silver</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>玉</source>
        <translation>King</translation>
    </message>
    <message>
        <source>角</source>
        <translation>Bishop</translation>
    </message>
    <message>
        <source>馬</source>
        <translation>Horse</translation>
    </message>
    <message>
        <source>飛</source>
        <translation>Rook</translation>
    </message>
    <message>
        <source>龍</source>
        <translation>Dragon</translation>
    </message>
    <message>
        <source>詰みとありますが、手番の側の玉は詰んでいません</source>
        <translation>詰み, but the king of the side to move is not mated here</translation>
    </message>
    <message>
        <source>「{0}」は棋譜のファイルではありません（.kif、.kifu、KI2 なら .ki2 か .ki2u のファイルを開いてください）</source>
        <translation>&quot;{0}&quot; is no record file (open a .kif or .kifu file, or .ki2 or .ki2u for KI2)</translation>
    </message>
    <message>
        <source>「棋譜をクリップボードにコピー」の棋譜は人が読むためのものです。KIF か KI2 の棋譜を貼り付けてください（「棋譜を保存…」で作れます）</source>
        <translation>The record &quot;Copy the record&quot; copies is for reading by people; paste a KIF or KI2 record (&quot;Save the record…&quot; writes one)</translation>
    </message>
    <message>
        <source>盤面図の局面からは指せません: {0}</source>
        <translation>the board diagram is no position to play from: {0}</translation>
    </message>
    <message>
        <source>{q}: {2}へ動ける{0}の{1}がありません</source>
        <translation>{q}: no {1} of {0} can move to {2}</translation>
    </message>
    <message>
        <source>{q}: {1}へ動ける{0}が複数あります（駒の後に右・左・直・上・引・寄で区別します）</source>
        <translation>{q}: more than one {0} can move to {1} (右, 左, 直, 上, 引 or 寄 after the piece says which)</translation>
    </message>
    <message>
        <source>{q}: ここは{0}の手番です</source>
        <translation>{q}: {0} is to move here</translation>
    </message>
    <message>
        <source>変化が{0}手目から始まっていますが、その前の手順に{0}手目がありません</source>
        <translation>A variation starts at move {0}, but the moves before it have no move {0}</translation>
    </message>
</context>
<context>
    <name>MoveList</name>
    <message>
        <source>先手</source>
        <translation>▲</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>△</translation>
    </message>
    <message>
        <source>投了&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins by resignation</translation>
    </message>
    <message>
        <source>詰み&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins by mate</translation>
    </message>
    <message>
        <source>王一枚&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins: bare king</translation>
    </message>
    <message>
        <source>指し手なし&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins: no legal move</translation>
    </message>
    <message>
        <source>千日手&#x3000;まで%1手で千日手</source>
        <translation>Draw by repetition</translation>
    </message>
    <message>
        <source>連続王手の千日手&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins: perpetual check</translation>
    </message>
    <message>
        <source>反則負け&#x3000;まで%1手で%2の勝ち</source>
        <translation>%2 wins by a foul</translation>
    </message>
</context>
<context>
    <name>Notation</name>
    <message>
        <source>歩</source>
        <translation>Pawn</translation>
    </message>
    <message>
        <source>と</source>
        <translation>Tokin</translation>
    </message>
    <message>
        <source>香</source>
        <translation>Lance</translation>
    </message>
    <message>
        <source>香成</source>
        <translation>Promoted lance</translation>
    </message>
    <message>
        <source>桂</source>
        <translation>Knight</translation>
    </message>
    <message>
        <source>桂成</source>
        <translation>Promoted knight</translation>
    </message>
    <message>
        <source>銀</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>銀成</source>
        <translation>Promoted silver</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>王</source>
        <translation>King</translation>
    </message>
    <message>
        <source>角</source>
        <translation>Bishop</translation>
    </message>
    <message>
        <source>角成</source>
        <translation>Horse</translation>
    </message>
    <message>
        <source>飛</source>
        <translation>Rook</translation>
    </message>
    <message>
        <source>龍王</source>
        <translation>Dragon</translation>
    </message>
</context>
<context>
    <name>PlayOn</name>
    <message>
        <source>%1手目: COMの指し手が棋譜と違います（棋譜 %2、今のCOM %3）。この棋譜からは指し直せません。</source>
        <translation>Move %1: COM&apos;s move differs from the record (record %2, COM now %3). The game cannot be played on from this record.</translation>
    </message>
    <message>
        <source>この対局は終わっています。</source>
        <translation>This game is over.</translation>
    </message>
    <message>
        <source>COMの応手を待っています。指し直せません。</source>
        <translation>Waiting for COM&apos;s reply. Cannot play on now.</translation>
    </message>
    <message>
        <source>%1手目の局面はCOMの手番です。あなたの手番の局面から指し直してください。</source>
        <translation>After move %1 it is COM&apos;s turn. Play on from a position where it is your turn.</translation>
    </message>
    <message>
        <source>%1行目: 続きを指すための情報が読めません。</source>
        <translation>Line %1: what is needed to play on cannot be read.</translation>
    </message>
    <message>
        <source>この棋譜には続きを指すための情報（COMの乱数と陣形）がありません。このゲームで記録した棋譜からだけ指し直せます。</source>
        <translation>This record lacks what playing on needs (COM&apos;s random state and formation). Only records made by this game can be played on.</translation>
    </message>
    <message>
        <source>%1手目で対局は終わっています。</source>
        <translation>The game is over at move %1.</translation>
    </message>
    <message>
        <source>陣形の記録が不正です。</source>
        <translation>The record of the formations is not valid.</translation>
    </message>
    <message>
        <source>%1手目のあとの待ったが再現できません。</source>
        <translation>The take-back after move %1 cannot be made again.</translation>
    </message>
    <message>
        <source>%1手目が再現できません。</source>
        <translation>Move %1 cannot be played again.</translation>
    </message>
    <message>
        <source>前回の対局を続けます。</source>
        <translation>Continuing the previous game.</translation>
    </message>
    <message>
        <source>%1手目の局面から指し直します。</source>
        <translation>Playing on from the position after move %1.</translation>
    </message>
    <message>
        <source>%1行目: COMの乱数が%2行目の記録と合いません。</source>
        <translation>Line %1: COM&apos;s random numbers do not match what line %2 records.</translation>
    </message>
    <message>
        <source>対局者の交代が再現できません。</source>
        <translation>The change of players cannot be made again.</translation>
    </message>
</context>
<context>
    <name>Position</name>
    <message>
        <source>{s}の玉が{n}枚あります（玉は一枚ずつ置きます）</source>
        <translation>{s} has {n} kings (each side has one)</translation>
    </message>
    <message>
        <source>{s}の{p}が{n}枚あります（二十枚の駒には{m}枚までです）</source>
        <translation>{s} has {n} of {p}: its twenty pieces hold {m}</translation>
    </message>
    <message>
        <source>{q}の{p}はもう動けません</source>
        <translation>the {p} on {q} could never move again</translation>
    </message>
    <message>
        <source>{q}の{p}は成っていません（敵陣に入った駒は必ず成ります）</source>
        <translation>the {p} on {q} is unpromoted in the promotion zone (every piece promotes as it arrives)</translation>
    </message>
    <message>
        <source>手番でない{s}の玉に王手がかかっています</source>
        <translation>the king of {s}, who is not to move, is in check</translation>
    </message>
    <message>
        <source>{s}の駒が玉一枚だけです（対局はもう終わっています）</source>
        <translation>{s} has nothing but its king (the game would be over already)</translation>
    </message>
    <message>
        <source>手番の{s}に指せる手がありません</source>
        <translation>{s}, to move, has no legal move</translation>
    </message>
    <message>
        <source>{s}の玉がありません</source>
        <translation>{s} has no king</translation>
    </message>
    <message>
        <source>先手</source>
        <translation>Sente</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>Gote</translation>
    </message>
    <message>
        <source>局面の文字列が空です</source>
        <translation>the position text is empty</translation>
    </message>
    <message>
        <source>局面の文字列が%1文字を超えています</source>
        <translation>the position text is longer than %1 characters</translation>
    </message>
    <message>
        <source>盤面が9段でなく%1段です（段は / で区切ります）</source>
        <translation>the board has %1 rows, not 9 (rows are separated by /)</translation>
    </message>
    <message>
        <source>%1段目が9マスでなく%2マスです</source>
        <translation>row %1 fills %2 squares, not 9</translation>
    </message>
    <message>
        <source>%1段目の「%2」は駒ではありません（K R B G S N L P、後手は小文字）</source>
        <translation>row %1: &quot;%2&quot; is no piece (K R B G S N L P, lower case for Gote)</translation>
    </message>
    <message>
        <source>%1段目の「+%2」は成駒ではありません（成るのは P L N S B R だけです）</source>
        <translation>row %1: &quot;+%2&quot; is no promoted piece (only P L N S B R promote)</translation>
    </message>
    <message>
        <source>盤面の後に手番（w か b）がありません</source>
        <translation>the side to move is missing after the board (w or b)</translation>
    </message>
    <message>
        <source>「%1」は手番ではありません（w か b）</source>
        <translation>&quot;%1&quot; is no side to move (w or b)</translation>
    </message>
    <message>
        <source>持駒があります: このゲームには駒打ちがなく、持駒はありません</source>
        <translation>pieces in hand: this game has no drops, so no piece is ever in hand</translation>
    </message>
    <message>
        <source>局面の後の「%1」が読めません</source>
        <translation>unreadable text after the position: &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Review</name>
    <message>
        <source>%1 %2/%3: %4手目 %5</source>
        <translation>%1 %2/%3: move %4 %5</translation>
    </message>
    <message>
        <source>もっと良い手を探してください</source>
        <translation>Find a better move</translation>
    </message>
    <message>
        <source>復習する悪手・疑問手はありません</source>
        <translation>No blunders or dubious moves to review</translation>
    </message>
    <message>
        <source>調べています…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>惜しい！</source>
        <translation>Close!</translation>
    </message>
    <message>
        <source>違います。</source>
        <translation>Not that.</translation>
    </message>
    <message>
        <source>その手は指せません。</source>
        <translation>That move cannot be played.</translation>
    </message>
    <message>
        <source>エンジンが判定できませんでした（%1）。</source>
        <translation>The engine could not judge it (%1).</translation>
    </message>
    <message>
        <source>正解！ エンジンの手は %1</source>
        <translation>Found! The engine plays %1</translation>
    </message>
    <message>
        <source>エンジンの手は %1&#x3000;読み筋 %2</source>
        <translation>The engine plays %1  line %2</translation>
    </message>
    <message>
        <source>%1問中%2問正解</source>
        <translation>%2 of %1 found</translation>
    </message>
</context>
<context>
    <name>Variations</name>
    <message>
        <source>%1手目の局面から続きを指します。</source>
        <translation>Playing on from the position after move %1.</translation>
    </message>
    <message>
        <source>%1手目から変化を指します。</source>
        <translation>Playing a variation from the position after move %1.</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TAnalysisPanel</name>
    <message>
        <source>+詰</source>
        <translation>+Mate </translation>
    </message>
    <message>
        <source>-詰</source>
        <translation>-Mate </translation>
    </message>
    <message>
        <source>棋譜を解析</source>
        <translation>Analyse the game</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>評価値</source>
        <translation>Evaluation</translation>
    </message>
    <message>
        <source>検討(&amp;A)</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>棋譜を解析…</source>
        <translation>Analyse the game…</translation>
    </message>
    <message>
        <source>解析中…</source>
        <translation>Analysing…</translation>
    </message>
    <message>
        <source>中止しました（%1 / %2 局面）</source>
        <translation>Stopped (%1 / %2 positions)</translation>
    </message>
    <message>
        <source>解析しました: 悪手 %1・疑問手 %2%3</source>
        <translation>Analysed: %1 blunders, %2 dubious moves%3</translation>
    </message>
    <message>
        <source>（対局が変わったので棋譜には書きません）</source>
        <translation> (the game has changed, so nothing is written into the record)</translation>
    </message>
    <message>
        <source>局面を選べるのは棋譜再現の間だけです</source>
        <translation>Positions can be picked only while replaying</translation>
    </message>
    <message>
        <source>%1手目&#x3000;評価値 %2</source>
        <translation>Move %1  evaluation %2</translation>
    </message>
    <message>
        <source>&#x3000;%1（最善 %2）</source>
        <translation>  %1 (best: %2)</translation>
    </message>
    <message>
        <source>1局面あたりのノード数</source>
        <translation>Nodes per position</translation>
    </message>
    <message>
        <source>対局が変わったので中止しました</source>
        <translation>Stopped: the game has changed</translation>
    </message>
    <message>
        <source>エンジンが故障しました（%1）</source>
        <translation>The engine failed (%1)</translation>
    </message>
    <message>
        <source>%1手目</source>
        <translation>Move %1</translation>
    </message>
</context>
<context>
    <name>TBoardView</name>
    <message>
        <source>一二三四五六七八九</source>
        <translation>abcdefghi</translation>
    </message>
    <message>
        <source>１２３４５６７８９</source>
        <translation>123456789</translation>
    </message>
</context>
<context>
    <name>TEnginePanel</name>
    <message>
        <source>エンジンが見つかりません（Debian のパッケージ fairy-stockfish を入れてください）</source>
        <translation>No engine found (install the Debian package fairy-stockfish)</translation>
    </message>
    <message>
        <source>対戦相手</source>
        <translation>Opponent</translation>
    </message>
    <message>
        <source>ヒント</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>標準COM</source>
        <translation>Standard COM</translation>
    </message>
    <message>
        <source>エンジン Lv%1</source>
        <translation>Engine level %1</translation>
    </message>
    <message>
        <source>考え中…</source>
        <translation>Thinking…</translation>
    </message>
    <message>
        <source>ヒント: なし</source>
        <translation>Hint: none</translation>
    </message>
    <message>
        <source>ヒント: エンジンが故障しました（%1）</source>
        <translation>Hint: the engine failed (%1)</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>あなたは先手（▲、盤の下側）、COMは後手（△、上側）です。あなたから指します。<byte value="xd"/>
<byte value="xd"/>
駒はドラッグして動かします。駒をクリックして選び、移動先をクリックしても動かせます。<byte value="xd"/>
<byte value="xd"/>
持ち駒はありません。取った駒は盤から消え、打つことはできません。<byte value="xd"/>
敵陣（奥の三段）で動きを終えた駒は必ず成ります。<byte value="xd"/>
はじめの配置は平手と違い、両者とも角が一つ出ていて（あなたの角は77、COMの角は33）、<byte value="xd"/>
その前の歩が二枚（あなたは76と66、COMは34と44）突いてあります。<byte value="xd"/>
<byte value="xd"/>
相手の王を詰ませるか、相手を王一枚にすれば勝ちです。<byte value="xd"/>
<byte value="xd"/>
最初の指し手の前に、COMが組む陣形を選べます。<byte value="xd"/>
待ったはあなたの手とCOMの手を一組戻します。続けてはできません。<byte value="xd"/>
終局後は棋譜再現で一手ずつ振り返れます（→ 次の手、← 前の手、Home 初期状態）。</source>
        <translation>You play first (▲, the bottom of the board); COM plays second (△, the top). You move first.<byte value="xd"/>
<byte value="xd"/>
Drag a piece to move it, or click a piece and then the square it should go to.<byte value="xd"/>
<byte value="xd"/>
There are no pieces in hand: a captured piece leaves the board and is never dropped.<byte value="xd"/>
A piece that ends its move in the far three ranks always promotes.<byte value="xd"/>
The start differs from the usual one: each side&apos;s bishop is already out (yours on 7g, COM&apos;s on 3c),<byte value="xd"/>
with the two pawns before it pushed (yours on 7f and 6f, COM&apos;s on 3d and 4d).<byte value="xd"/>
<byte value="xd"/>
You win by mating COM&apos;s king or by leaving COM with its king alone.<byte value="xd"/>
<byte value="xd"/>
Before your first move you can pick the formation COM builds.<byte value="xd"/>
Take back undoes your move and COM&apos;s reply; it cannot be used twice in a row.<byte value="xd"/>
After the game, replay it move by move (→ next move, ← previous move, Home the start).</translation>
    </message>
    <message>
        <source>あなたの番です</source>
        <translation>Your move</translation>
    </message>
    <message>
        <source>COMの陣形</source>
        <translation>Formation</translation>
    </message>
    <message>
        <source>平手で初期化</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>待った</source>
        <translation>Take back</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>飛車角落ちで初期化</source>
        <translation>Handicap game</translation>
    </message>
    <message>
        <source>棋譜をクリップボードにコピー</source>
        <translation>Copy the record</translation>
    </message>
    <message>
        <source>駒画像の読込みでエラー発生<byte value="xd"/>
<byte value="xd"/>
駒画像ファイルが正しく置かれているか確認してください。<byte value="xd"/>
<byte value="xd"/>
エラー内容は %1</source>
        <translation>The piece pictures could not be read.<byte value="xd"/>
<byte value="xd"/>
Please check that the picture files are in place.<byte value="xd"/>
<byte value="xd"/>
Error: %1</translation>
    </message>
    <message>
        <source>初期化しますか？</source>
        <translation>Start a new game?</translation>
    </message>
    <message>
        <source>%1は次の対局から</source>
        <translation>%1 from the next game on</translation>
    </message>
    <message>
        <source>終了しますか？</source>
        <translation>Quit the game?</translation>
    </message>
    <message>
        <source>投了しますか？</source>
        <translation>Resign?</translation>
    </message>
    <message>
        <source>エンジン: </source>
        <translation>Engine: </translation>
    </message>
    <message>
        <source>COMの狙い: %1</source>
        <translation>COM&apos;s aim: %1</translation>
    </message>
    <message>
        <source>ゲーム(&amp;G)</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>投了</source>
        <translation>Resign</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>座標</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>移動先を表示</source>
        <translation>Show destinations</translation>
    </message>
    <message>
        <source>COMの狙いを表示</source>
        <translation>Show COM&apos;s aim</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>Move list</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>システムの設定</source>
        <translation>System setting</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
バージョン %2<byte value="xd"/>
<byte value="xd"/>
Qt %3</source>
        <translation>%1<byte value="xd"/>
Version %2<byte value="xd"/>
<byte value="xd"/>
Qt %3</translation>
    </message>
    <message>
        <source>一手戻る (←)</source>
        <translation>One move back (←)</translation>
    </message>
    <message>
        <source>最後の局面へ (End)</source>
        <translation>To the last move (End)</translation>
    </message>
    <message>
        <source>%1 / %2手</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>TKifuList</name>
    <message>
        <source>開始局面</source>
        <translation>Start position</translation>
    </message>
</context>
<context>
    <name>TMessageBoxDialogs</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>KIF（Shift_JIS） (*.kif)</source>
        <translation>KIF (Shift_JIS) (*.kif)</translation>
    </message>
    <message>
        <source>KIF（UTF-8） (*.kifu)</source>
        <translation>KIF (UTF-8) (*.kifu)</translation>
    </message>
    <message>
        <source>テキスト (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>棋譜を保存</source>
        <translation>Save the record</translation>
    </message>
    <message>
        <source>棋譜を開く</source>
        <translation>Open a record</translation>
    </message>
    <message>
        <source>KIF・KI2 棋譜 (*.kif *.kifu *.ki2 *.ki2u);;すべてのファイル (*)</source>
        <translation>KIF and KI2 records (*.kif *.kifu *.ki2 *.ki2u);;All files (*)</translation>
    </message>
    <message>
        <source>盤面を画像で保存</source>
        <translation>Save the board as a picture</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
</context>
<context>
    <name>TPictures</name>
    <message>
        <source>BMP ファイルではありません</source>
        <translation>not a BMP file</translation>
    </message>
    <message>
        <source>ヘッダの示す大きさ %1 バイトがファイルの大きさ %2 バイトと違います</source>
        <translation>the header&apos;s size of %1 bytes differs from the file&apos;s size of %2 bytes</translation>
    </message>
    <message>
        <source>ヘッダが壊れています</source>
        <translation>the header is damaged</translation>
    </message>
    <message>
        <source>画素が途中で切れています（%1 バイトのはずが %2 バイト）</source>
        <translation>the pixels are cut short (%2 bytes where %1 were due)</translation>
    </message>
    <message>
        <source>%1 を読み込めません（%2、フォルダ %3）</source>
        <translation>cannot read %1 (%2, folder %3)</translation>
    </message>
</context>
<context>
    <name>TPieceSound</name>
    <message>
        <source>駒音</source>
        <translation>Piece sound</translation>
    </message>
</context>
<context>
    <name>TPlayControl</name>
    <message>
        <source>対局の設定…</source>
        <translation>Game settings…</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>盤面反転</source>
        <translation>Turn the board</translation>
    </message>
    <message>
        <source>手番側を手前に</source>
        <translation>Side to move at the bottom</translation>
    </message>
</context>
<context>
    <name>TPositionEditor</name>
    <message>
        <source>局面編集</source>
        <translation>Edit a position</translation>
    </message>
    <message>
        <source>手番</source>
        <translation>To move</translation>
    </message>
    <message>
        <source>▲先手番</source>
        <translation>▲Sente</translation>
    </message>
    <message>
        <source>△後手番</source>
        <translation>△Gote</translation>
    </message>
    <message>
        <source>平手</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>飛車角落ち</source>
        <translation>Handicap</translation>
    </message>
    <message>
        <source>空の盤</source>
        <translation>Empty board</translation>
    </message>
    <message>
        <source>駒台から盤へ、盤のマスからマスへ駒をドラッグします。盤の外へ出した駒は取り除かれます。右クリックで駒が成り、成った駒は相手の駒になります。</source>
        <translation>Drag pieces from the stands to the board and from square to square; a piece dragged off the board is taken away. A right click promotes a piece, and turns a promoted one over to the other side.</translation>
    </message>
    <message>
        <source>この局面で対局</source>
        <translation>Play from here</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>この局面から対局できます。</source>
        <translation>This position can be played from.</translation>
    </message>
    <message>
        <source>この局面からは指せません: %1</source>
        <translation>This position cannot be played from: %1</translation>
    </message>
</context>
<context>
    <name>TPositionMenu</name>
    <message>
        <source>局面編集…</source>
        <translation>Edit a position…</translation>
    </message>
    <message>
        <source>局面をコピー</source>
        <translation>Copy the position</translation>
    </message>
    <message>
        <source>局面を貼り付け</source>
        <translation>Paste a position</translation>
    </message>
    <message>
        <source>盤面を画像で保存…</source>
        <translation>Save the board as a picture…</translation>
    </message>
    <message>
        <source>対局中のゲームをやめて、この局面から対局しますか？</source>
        <translation>Leave the game in progress and play from this position?</translation>
    </message>
    <message>
        <source>この局面からは指せません。<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>This position cannot be played from.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>局面をコピーしました: %1</source>
        <translation>Position copied: %1</translation>
    </message>
    <message>
        <source>局面を貼り付けられません。<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>The position cannot be pasted.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>盤面%1手目.png</source>
        <translation>board-move-%1.png</translation>
    </message>
    <message>
        <source>盤面の画像を保存できません。<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
%2</source>
        <translation>The picture of the board cannot be saved.<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>盤面の画像を保存しました: %1</source>
        <translation>Picture of the board saved: %1</translation>
    </message>
</context>
<context>
    <name>TRecordFiles</name>
    <message>
        <source>対局中</source>
        <translation>in play</translation>
    </message>
    <message>
        <source>あなたの勝ち</source>
        <translation>you won</translation>
    </message>
    <message>
        <source>COMの勝ち</source>
        <translation>COM won</translation>
    </message>
    <message>
        <source>飛車角落ち</source>
        <translation>Handicap</translation>
    </message>
    <message>
        <source>平手</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>%1手</source>
        <translation>%1 moves</translation>
    </message>
    <message>
        <source>&#x3000;</source>
        <translation>  </translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
エラー内容は %3</source>
        <translation>%1<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Error: %3</translation>
    </message>
    <message>
        <source>自動保存に失敗しました</source>
        <translation>Saving the game failed</translation>
    </message>
    <message>
        <source>棋譜を保存…</source>
        <translation>Save the record…</translation>
    </message>
    <message>
        <source>棋譜を開く…</source>
        <translation>Open a record…</translation>
    </message>
    <message>
        <source>この局面から指し直す</source>
        <translation>Play on from this position</translation>
    </message>
    <message>
        <source>最近の棋譜</source>
        <translation>Recent games</translation>
    </message>
    <message>
        <source>対局を自動保存</source>
        <translation>Keep games automatically</translation>
    </message>
    <message>
        <source>（まだありません）</source>
        <translation>(none yet)</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>record</translation>
    </message>
    <message>
        <source>棋譜の保存でエラー発生</source>
        <translation>The record could not be saved.</translation>
    </message>
    <message>
        <source>棋譜を保存しました: %1</source>
        <translation>Record saved: %1</translation>
    </message>
    <message>
        <source>前回の対局を続けますか？</source>
        <translation>Go on with the last game?</translation>
    </message>
    <message>
        <source>前回の対局を続けられません。<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>The last game cannot be continued.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>棋譜の読込みでエラー発生</source>
        <translation>The record could not be read.</translation>
    </message>
    <message>
        <source>この局面からは指し直せません。<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>You cannot play on from this position.<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>対局中のゲームをやめて棋譜を開きますか？</source>
        <translation>Leave the game in progress and open the record?</translation>
    </message>
    <message>
        <source>引き分け</source>
        <translation>draw</translation>
    </message>
    <message>
        <source>先手の勝ち</source>
        <translation>Sente won</translation>
    </message>
    <message>
        <source>後手の勝ち</source>
        <translation>Gote won</translation>
    </message>
    <message>
        <source>編集局面</source>
        <translation>Edited</translation>
    </message>
    <message>
        <source>棋譜を貼り付け</source>
        <translation>Paste a record</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
<byte value="xd"/>
エラー内容は %2</source>
        <translation>%1<byte value="xd"/>
<byte value="xd"/>
Error: %2</translation>
    </message>
    <message>
        <source>棋譜の貼り付けでエラー発生</source>
        <translation>The record could not be pasted.</translation>
    </message>
</context>
<context>
    <name>TSeatsDialog</name>
    <message>
        <source>対局の設定</source>
        <translation>Game settings</translation>
    </message>
    <message>
        <source>先手</source>
        <translation>▲Sente</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>△Gote</translation>
    </message>
    <message>
        <source>あなた</source>
        <translation>You</translation>
    </message>
    <message>
        <source>標準COM</source>
        <translation>Standard COM</translation>
    </message>
    <message>
        <source>エンジン Lv%1</source>
        <translation>Engine level %1</translation>
    </message>
    <message>
        <source>平手</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>飛車角落ち（先手が飛車角なし）</source>
        <translation>Handicap (Sente without rook and bishop)</translation>
    </message>
    <message>
        <source>編集した局面</source>
        <translation>The edited position</translation>
    </message>
    <message>
        <source>開始局面</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>すぐに</source>
        <translation>At once</translation>
    </message>
    <message>
        <source>0.5秒ごと</source>
        <translation>Every 0.5 s</translation>
    </message>
    <message>
        <source>1秒ごと</source>
        <translation>Every second</translation>
    </message>
    <message>
        <source>2秒ごと</source>
        <translation>Every 2 s</translation>
    </message>
    <message>
        <source>観戦の速さ</source>
        <translation>Pace when watching</translation>
    </message>
    <message>
        <source>対局開始</source>
        <translation>Start the game</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>平手で初期化・飛車角落ちで初期化は、この対局者で新しい対局を始めます。</source>
        <translation>New game and Handicap game start a new game with these players.</translation>
    </message>
</context>
<context>
    <name>TWindowZoom</name>
    <message>
        <source>拡大率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
</context>
<context>
    <name>Title</name>
    <message>
        <source>創作将棋 ミルトア</source>
        <translation>Mirutoa Shogi</translation>
    </message>
</context>
</TS>

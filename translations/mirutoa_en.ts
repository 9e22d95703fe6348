<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TAboutText</name>
    <message>
        <source>見つかりません（Debian のパッケージ fairy-stockfish を入れると、ヒント、エンジンとの対局、棋譜の解析が使えます）</source>
        <translation>not found (with the Debian package fairy-stockfish installed, hints, games against the engine and analysis can be used)</translation>
    </message>
    <message>
        <source>%1 …（%2）</source>
        <translation>%1 … (%2)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1（%2、起動できません: %3）</source>
        <translation>%1 (%2, does not start: %3)</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
バージョン %2<byte value="xd"/>
%3<byte value="xd"/>
MIT ライセンスで配布しています。<byte value="xd"/>
<byte value="xd"/>
エンジン: %4<byte value="xd"/>
フォント: 文字 %5、駒 %6<byte value="xd"/>
Qt %7</source>
        <translation>%1<byte value="xd"/>
Version %2<byte value="xd"/>
%3<byte value="xd"/>
Distributed under the MIT licence.<byte value="xd"/>
<byte value="xd"/>
Engine: %4<byte value="xd"/>
Fonts: text %5, pieces %6<byte value="xd"/>
Qt %7</translation>
    </message>
</context>
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
    <message>
        <source>ドラッグして棋譜の幅を変えます</source>
        <translation>Drag to widen or narrow the move list</translation>
    </message>
    <message>
        <source>ルール</source>
        <translation>Rules</translation>
    </message>
    <message>
        <source>あなたは先手（▲、盤の下側）、COMは後手（△、上側）です。あなたから指します。<byte value="xd"/>
持ち駒はありません。取った駒は盤から消え、打つことはできません。<byte value="xd"/>
敵陣（奥の三段）で動きを終えた駒は必ず成ります。<byte value="xd"/>
はじめの配置は平手と違い、両者とも角が一つ出ていて（あなたの角は77、COMの角は33）、<byte value="xd"/>
その前の歩が二枚（あなたは76と66、COMは34と44）突いてあります。<byte value="xd"/>
相手の王を詰ませるか、相手を王一枚にすれば勝ちです。<byte value="xd"/>
最初の指し手の前に、COMが組む陣形を選べます。</source>
        <translation>You play first (▲, the bottom of the board); COM plays second (△, the top). You move first.<byte value="xd"/>
There are no pieces in hand: a captured piece leaves the board and is never dropped.<byte value="xd"/>
A piece that ends its move in the far three ranks always promotes.<byte value="xd"/>
The start differs from the usual one: each side&apos;s bishop is already out (yours on 7g, COM&apos;s on 3c),<byte value="xd"/>
with the two pawns before it pushed (yours on 7f and 6f, COM&apos;s on 3d and 4d).<byte value="xd"/>
You win by mating COM&apos;s king or by leaving COM with its king alone.<byte value="xd"/>
Before your first move you can pick the formation COM builds.</translation>
    </message>
    <message>
        <source>駒の動かし方</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>駒をドラッグして動かします。駒をクリックして選び、移動先をクリックしても動かせます。<byte value="xd"/>
動かせる先には印が付きます（表示 → 移動先を表示）。</source>
        <translation>Drag a piece to move it, or click a piece and then the square it should go to.<byte value="xd"/>
The squares it can go to are marked (View → Show destinations).</translation>
    </message>
    <message>
        <source>盤の右の棋譜に指し手が並びます。行を選ぶと、その局面が盤に出ます。<byte value="xd"/>
対局中は見るだけで、End で最新の局面に戻ります。<byte value="xd"/>
棋譜の右端をドラッグすると、棋譜の幅を変えられます。</source>
        <translation>The move list beside the board holds the moves. Pick a row to see that position on the board.<byte value="xd"/>
During a game the position is only looked at; End brings back the latest one.<byte value="xd"/>
Drag the list&apos;s right edge to make it wider or narrower.</translation>
    </message>
    <message>
        <source>棋譜再現</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>終局後や棋譜を開いたときは棋譜再現になり、盤の下のボタンで一手ずつ振り返れます<byte value="xd"/>
（◀ 一手戻る、|◀ 初期状態、▶ 一手進む、▶▶ 二手進む、▶| 最後の局面）。<byte value="xd"/>
キーでは → 次の手、← 前の手、Home 初期状態、End 最後の局面です。</source>
        <translation>After the game, or with a record opened, the buttons under the board replay it move by move<byte value="xd"/>
(◀ one move back, |◀ the start, ▶ one move on, ▶▶ two moves on, ▶| the last position).<byte value="xd"/>
The keys: → next move, ← previous move, Home the start, End the last position.</translation>
    </message>
    <message>
        <source>待った・投了</source>
        <translation>Take back and resigning</translation>
    </message>
    <message>
        <source>待った（Ctrl+Z）はあなたの手とCOMの手を一組戻します。続けてはできません。<byte value="xd"/>
ゲーム → 投了 で投了します。</source>
        <translation>Take back (Ctrl+Z) undoes your move and COM&apos;s reply; it cannot be used twice in a row.<byte value="xd"/>
Game → Resign gives the game up.</translation>
    </message>
    <message>
        <source>ヒントと対戦相手</source>
        <translation>Hints and opponents</translation>
    </message>
    <message>
        <source>ゲーム → ヒント（Ctrl+H）は、エンジンの考える最善手を盤に矢印で示します。<byte value="xd"/>
ゲーム → 対戦相手 で、標準COM のほかエンジン Lv1〜Lv12 と対戦できます。<byte value="xd"/>
エンジンには Debian のパッケージ fairy-stockfish が要ります。</source>
        <translation>Game → Hint (Ctrl+H) shows the engine&apos;s best move as an arrow on the board.<byte value="xd"/>
Game → Opponent picks who answers your moves: Standard COM or the engine at Lv1 to Lv12.<byte value="xd"/>
The engine is the Debian package fairy-stockfish.</translation>
    </message>
    <message>
        <source>解析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>検討 → 棋譜を解析… で、エンジンが対局の全局面を評価し、評価値のグラフを出します。<byte value="xd"/>
大きく損をしたあなたの手には、棋譜に「悪手」「疑問手」と最善手が付きます。</source>
        <translation>Analysis → Analyse the game… has the engine weigh every position and draws the evaluation graph.<byte value="xd"/>
Your moves that lose much are marked Blunder or Dubious in the move list, with the best move.</translation>
    </message>
    <message>
        <source>指し直しと再開</source>
        <translation>Playing on and resuming</translation>
    </message>
    <message>
        <source>ゲーム → この局面から指し直す で、盤の局面（あなたの手番）から新しい対局を始めます。<byte value="xd"/>
対局は一手ごとに自動で保存され（ゲーム → 最近の棋譜）、次の起動で続きを指せます。<byte value="xd"/>
初期化、棋譜を開く、指し直す、終了でやめた対局は「中断」になり、続きを勧めません。</source>
        <translation>Game → Play on from this position starts a new game from the position on the board (you to move).<byte value="xd"/>
Every game is kept after each move (Game → Recent games), and the next start offers to go on.<byte value="xd"/>
A game left for a new game, an opened record, playing on or Quit is kept as interrupted and not offered.</translation>
    </message>
    <message>
        <source>表示 → 言語 で、日本語と英語を切り替えます。</source>
        <translation>View → Language switches between Japanese and English.</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>→ 次の手&#x3000;← 前の手&#x3000;Home 初期状態&#x3000;End 最新の局面<byte value="xd"/>
Ctrl+Z 待った&#x3000;Ctrl+H ヒント&#x3000;Ctrl+C 棋譜をコピー&#x3000;Ctrl+S 保存&#x3000;Ctrl+O 開く<byte value="xd"/>
Ctrl++ 拡大&#x3000;Ctrl+- 縮小&#x3000;Ctrl+0 100%&#x3000;F1 遊び方&#x3000;Ctrl+Q 終了</source>
        <translation>→ next move  ← previous move  Home the start  End the latest position<byte value="xd"/>
Ctrl+Z take back  Ctrl+H hint  Ctrl+C copy the record  Ctrl+S save  Ctrl+O open<byte value="xd"/>
Ctrl++ zoom in  Ctrl+- zoom out  Ctrl+0 100%  F1 how to play  Ctrl+Q quit</translation>
    </message>
    <message>
        <source>変化と局面編集</source>
        <translation>Variations and setting up a position</translation>
    </message>
    <message>
        <source>前の局面や再生中の局面で指すと、「変化として追加」か「新しい対局」かを選べます。<byte value="xd"/>
棋譜の「+」は変化のある手です。クリックで変化を選び、「本譜に戻る」で戻ります。<byte value="xd"/>
検討 → 検討モード（F5）でエンジンの読み筋を、局面編集…（Ctrl+E）で好きな局面から指せます。</source>
        <translation>A move made on an earlier position or in a replay asks: add it as a variation, or start a new game.<byte value="xd"/>
A “+” in the move list marks a move with variations: click it to choose one; “Back to the main line” returns.<byte value="xd"/>
Analysis → Study mode (F5) shows the engine&apos;s lines; Edit a position… (Ctrl+E) plays from any position.</translation>
    </message>
</context>
<context>
    <name>TKifuList</name>
    <message>
        <source>開始局面</source>
        <translation>Start position</translation>
    </message>
    <message>
        <source>最善 %1</source>
        <translation>best: %1</translation>
    </message>
    <message>
        <source>変化 %1</source>
        <translation>Variation %1</translation>
    </message>
    <message>
        <source>本譜に戻る</source>
        <translation>Back to the main line</translation>
    </message>
    <message>
        <source>変化を選ぶ</source>
        <translation>Choose a variation</translation>
    </message>
    <message>
        <source>本譜</source>
        <translation>Main line</translation>
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
        <translation>▲ won</translation>
    </message>
    <message>
        <source>後手の勝ち</source>
        <translation>△ won</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>interrupted</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>読めない棋譜を飛ばしました: %1</source>
        <translation>Kept games that cannot be read were passed over: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>; </translation>
    </message>
    <message>
        <source>対局中のゲームをやめてこの局面から指し直しますか？</source>
        <translation>Sente won</translation>
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
        <translation>Game setup</translation>
    </message>
    <message>
        <source>先手</source>
        <translation>First player (▲)</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>Second player (△)</translation>
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
        <translation>Handicap (the first player without rook and bishop)</translation>
    </message>
    <message>
        <source>開始局面</source>
        <translation>Handicap (Sente without rook and bishop)</translation>
    </message>
    <message>
        <source>編集した局面</source>
        <translation>The edited position</translation>
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
        <translation>Pace of computer games</translation>
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
        <translation>New game and New handicap game start a new game with these players.</translation>
    </message>
</context>
<context>
    <name>TStudyPanel</name>
    <message>
        <source>検討</source>
        <translation>Study</translation>
    </message>
    <message>
        <source>スキップ</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>次へ</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>検討モード</source>
        <translation>Study mode</translation>
    </message>
    <message>
        <source>悪手を復習</source>
        <translation>Review my mistakes</translation>
    </message>
    <message>
        <source>%1. %2&#x3000;深さ %3
%4</source>
        <translation>%1. %2  depth %3
%4</translation>
    </message>
    <message>
        <source>エンジンが故障しました（%1）</source>
        <translation>The engine failed (%1)</translation>
    </message>
    <message>
        <source>一時停止中（エンジンは対局・ヒント・解析の番です）</source>
        <translation>Paused (the engine is busy with the game, a hint or an analysis)</translation>
    </message>
    <message>
        <source>指せる手がありません</source>
        <translation>No move to play</translation>
    </message>
    <message>
        <source>考え中… 深さ %1（%2秒）</source>
        <translation>Thinking… depth %1 (%2 s)</translation>
    </message>
    <message>
        <source>読み終わりました 深さ %1</source>
        <translation>Done, depth %1</translation>
    </message>
    <message>
        <source>先に「棋譜を解析」で対局を解析してください</source>
        <translation>Analyse the game first (Analyse the game…)</translation>
    </message>
    <message>
        <source>相手の手を待っている間は復習できません</source>
        <translation>No review while a reply is awaited</translation>
    </message>
    <message>
        <source>復習する悪手・疑問手はありません</source>
        <translation>No blunders or dubious moves to review</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>New game and Handicap game start a new game with these players.</translation>
    </message>
</context>
<context>
    <name>TVariationMoves</name>
    <message>
        <source>変化として追加</source>
        <translation>Add as a variation</translation>
    </message>
    <message>
        <source>新しい対局</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>次から確認しない</source>
        <translation>Do not ask again</translation>
    </message>
    <message>
        <source>開始局面</source>
        <translation>the start position</translation>
    </message>
    <message>
        <source>%1手目の局面</source>
        <translation>the position after move %1</translation>
    </message>
    <message>
        <source>%1に、棋譜にない手を指します。<byte value="xd"/>
変化として棋譜に加えますか？ この局面から新しい対局を始めますか？</source>
        <translation>The record plays no such move in %1.<byte value="xd"/>
Add it to the record as a variation, or start a new game from this position?</translation>
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

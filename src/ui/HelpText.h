// The help box (F1): the rules in short and how the window is used, one section per subject, each
// translated on its own.
#pragma once

#include <QtGlobal>

#include <array>

struct THelpSection {
    const char* Heading;
    const char* Body;
};

inline constexpr std::array kHelp = {
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "ルール"),
                 QT_TRANSLATE_NOOP(
                     "TForm1",
                     "あなたは先手（▲、盤の下側）、COMは後手（△、上側）です。あなたから指します。\r\n"
                     "持ち駒はありません。取った駒は盤から消え、打つことはできません。\r\n"
                     "敵陣（奥の三段）で動きを終えた駒は必ず成ります。\r\n"
                     "はじめの配置は平手と違い、両者とも角が一つ出ていて（あなたの角は77、COMの角は33）、\r\n"
                     "その前の歩が二枚（あなたは76と66、COMは34と44）突いてあります。\r\n"
                     "相手の王を詰ませるか、相手を王一枚にすれば勝ちです。\r\n"
                     "最初の指し手の前に、COMが組む陣形を選べます。")},
    THelpSection{
        QT_TRANSLATE_NOOP("TForm1", "駒の動かし方"),
        QT_TRANSLATE_NOOP(
            "TForm1",
            "駒をドラッグして動かします。駒をクリックして選び、移動先をクリックしても動かせます。\r\n"
            "動かせる先には印が付きます（表示 → 移動先を表示）。")},
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "棋譜"),
                 QT_TRANSLATE_NOOP("TForm1",
                                   "盤の右の棋譜に指し手が並びます。行を選ぶと、その局面が盤に出ます。\r\n"
                                   "対局中は見るだけで、End で最新の局面に戻ります。\r\n"
                                   "棋譜の右端をドラッグすると、棋譜の幅を変えられます。")},
    THelpSection{
        QT_TRANSLATE_NOOP("TForm1", "棋譜再現"),
        QT_TRANSLATE_NOOP("TForm1",
                          "終局後や棋譜を開いたときは棋譜再現になり、盤の下のボタンで一手ずつ振り返れます\r\n"
                          "（◀ 一手戻る、|◀ 初期状態、▶ 一手進む、▶▶ 二手進む、▶| 最後の局面）。\r\n"
                          "キーでは → 次の手、← 前の手、Home 初期状態、End 最後の局面です。")},
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "待った・投了"),
                 QT_TRANSLATE_NOOP(
                     "TForm1", "待った（Ctrl+Z）はあなたの手とCOMの手を一組戻します。続けてはできません。\r\n"
                               "ゲーム → 投了 で投了します。")},
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "ヒントと対戦相手"),
                 QT_TRANSLATE_NOOP(
                     "TForm1", "ゲーム → ヒント（Ctrl+H）は、エンジンの考える最善手を盤に矢印で示します。\r\n"
                               "ゲーム → 対戦相手 で、標準COM のほかエンジン Lv1〜Lv12 と対戦できます。\r\n"
                               "エンジンには Debian のパッケージ fairy-stockfish が要ります。")},
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "解析"),
                 QT_TRANSLATE_NOOP(
                     "TForm1",
                     "検討 → 棋譜を解析… で、エンジンが対局の全局面を評価し、評価値のグラフを出します。\r\n"
                     "大きく損をしたあなたの手には、棋譜に「悪手」「疑問手」と最善手が付きます。")},
    THelpSection{
        QT_TRANSLATE_NOOP("TForm1", "指し直しと再開"),
        QT_TRANSLATE_NOOP(
            "TForm1",
            "ゲーム → この局面から指し直す で、盤の局面（あなたの手番）から新しい対局を始めます。\r\n"
            "対局は一手ごとに自動で保存され（ゲーム → 最近の棋譜）、次の起動で続きを指せます。\r\n"
            "初期化、棋譜を開く、指し直す、終了でやめた対局は「中断」になり、続きを勧めません。")},
    THelpSection{
        QT_TRANSLATE_NOOP("TForm1", "変化と局面編集"),
        QT_TRANSLATE_NOOP(
            "TForm1",
            "前の局面や再生中の局面で指すと、「変化として追加」か「新しい対局」かを選べます。\r\n"
            "棋譜の「+」は変化のある手です。クリックで変化を選び、「本譜に戻る」で戻ります。\r\n"
            "検討 → 検討モード（F5）でエンジンの読み筋を、局面編集…（Ctrl+E）で好きな局面から指せます。")},
    THelpSection{QT_TRANSLATE_NOOP("TForm1", "言語"),
                 QT_TRANSLATE_NOOP("TForm1", "表示 → 言語 で、日本語と英語を切り替えます。")},
    THelpSection{
        QT_TRANSLATE_NOOP("TForm1", "キー"),
        QT_TRANSLATE_NOOP("TForm1",
                          "→ 次の手　← 前の手　Home 初期状態　End 最新の局面\r\n"
                          "Ctrl+Z 待った　Ctrl+H ヒント　Ctrl+C 棋譜をコピー　Ctrl+S 保存　Ctrl+O 開く\r\n"
                          "Ctrl++ 拡大　Ctrl+- 縮小　Ctrl+0 100%　F1 遊び方　Ctrl+Q 終了")},
};

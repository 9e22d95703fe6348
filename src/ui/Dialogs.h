// The window's modal message boxes and file dialogs behind one small interface, so that tests can
// answer them.
#pragma once

#include <QString>

class QWidget;

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A box with an OK button; returns when it is closed. Texts break lines with CR LF.
    virtual void Ok(const QString& text) = 0;
    // A box with the caption "確認", no icon and the buttons Yes and No; true for Yes.
    virtual bool YesNo(const QString& text) = 0;
    // A box with its own caption and an OK button (the help and the version).
    virtual void Info(const QString& caption, const QString& text) {
        Ok(caption + QStringLiteral("\r\n") + text);
    }
    // The file a record is to be saved to, the dialog opened on suggested (a folder and a file name);
    // empty when the player cancels. The extension chosen names the form.
    virtual QString SaveFileName(const QString& suggested) {
        (void)suggested;
        return {};
    }
    // The record file to open, the dialog opened in folder; empty when the player cancels.
    virtual QString OpenFileName(const QString& folder) {
        (void)folder;
        return {};
    }
};

// The caption of the plain boxes: the game's title.
inline const char* const kGameTitle = "創作将棋 ミルトア";
// ヘルプ → 遊び方.
inline const char* const kRules =
    "あなたは先手（▲、盤の下側）、COMは後手（△、上側）です。あなたから指します。\r\n\r\n"
    "駒はドラッグして動かします。駒をクリックして選び、移動先をクリックしても動かせます。\r\n\r\n"
    "持ち駒はありません。取った駒は盤から消え、打つことはできません。\r\n"
    "敵陣（奥の三段）で動きを終えた駒は必ず成ります。\r\n"
    "はじめの配置は平手と違い、両者とも角が一つ出ていて（あなたの角は77、COMの角は33）、\r\n"
    "その前の歩が二枚（あなたは76と66、COMは34と44）突いてあります。\r\n\r\n"
    "相手の王を詰ませるか、相手を王一枚にすれば勝ちです。\r\n\r\n"
    "最初の指し手の前に、COMが組む陣形を選べます。\r\n"
    "待ったはあなたの手とCOMの手を一組戻します。続けてはできません。\r\n"
    "終局後は棋譜再現で一手ずつ振り返れます（→ 次の手、← 前の手、Home 初期状態）。";

// The real boxes, owned by the window they belong to.
class TMessageBoxDialogs : public IDialogs {
public:
    explicit TMessageBoxDialogs(QWidget* owner) : owner_(owner) {}
    void Ok(const QString& text) override;
    bool YesNo(const QString& text) override;
    void Info(const QString& caption, const QString& text) override;
    QString SaveFileName(const QString& suggested) override;
    QString OpenFileName(const QString& folder) override;

private:
    QWidget* owner_;
};

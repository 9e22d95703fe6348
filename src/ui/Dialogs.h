// The window's modal message boxes and file dialogs behind one small interface, so that tests can
// answer them.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <memory>

class QDialog;
class QWidget;
class TPictures;
struct TEditedStart;
struct TGameSetup;

// A text that may change while a box shows it: the box shows Text() again at each changed().
class TChangingText : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual QString Text() const = 0;

signals:
    void changed();
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A box with an OK button; returns when it is closed. Texts break lines with CR LF.
    virtual void Ok(const QString& text) = 0;
    // A box with the caption "確認" (Confirm), no icon and the buttons Yes and No; true for Yes. No is the
    // default button, so that a stray Enter changes nothing; a question whose usual answer is Yes and
    // that loses nothing by it (going on with the last game) makes Yes the default.
    virtual bool YesNo(const QString& text, bool yesByDefault = false) = 0;
    // A question with two answers, a Cancel button and a check box that keeps the answer for next time:
    // 0 or 1 for the answer chosen, -1 for Cancel (or Esc). keep tells whether the box was ticked; it
    // means nothing after Cancel.
    virtual int Choose(const QString& text, const QString& first, const QString& second,
                       const QString& keepText, bool& keep) {
        (void)text, (void)first, (void)second, (void)keepText;
        keep = false;
        return -1;
    }
    // A box with its own caption and an OK button (the help and the version).
    virtual void Info(const QString& caption, const QString& text) {
        Ok(caption + QStringLiteral("\r\n") + text);
    }
    // The same box for a text that may change while it is open (the version box, whose engine line is
    // filled in once the engine has answered).
    virtual void InfoFollowing(const QString& caption, const TChangingText& text) {
        Info(caption, text.Text());
    }
    // The file a record is to be saved to, the dialog opened on suggested (a folder and a file name
    // whose extension names the form picked last); empty when the player cancels. The extension
    // chosen names the form.
    virtual QString SaveFileName(const QString& suggested) {
        (void)suggested;
        return {};
    }
    // The record file to open, the dialog opened in folder; empty when the player cancels.
    virtual QString OpenFileName(const QString& folder) {
        (void)folder;
        return {};
    }
    // The new game's settings, the dialog opened on setup (engine: whether the engine's levels can be
    // picked); false when the player cancels.
    virtual bool GameSetup(TGameSetup& setup, bool engine) {
        (void)setup, (void)engine;
        return false;
    }
    // The position editor, opened on start and drawn with the window's pictures at its scale; false
    // when the player cancels, else the position to play from is in start.
    virtual bool EditPosition(TEditedStart& start, const TPictures& pictures, double scale) {
        (void)start, (void)pictures, (void)scale;
        return false;
    }
    // The PNG file a picture of the board is saved to, the dialog opened on suggested; empty when the
    // player cancels.
    virtual QString SavePictureName(const QString& suggested) {
        (void)suggested;
        return {};
    }
};

// The caption of the plain boxes: the game's title.
inline const char* const kGameTitle = QT_TRANSLATE_NOOP("Title", "創作将棋 ミルトア");
inline QString GameTitle() {
    return QCoreApplication::translate("Title", kGameTitle);
}

// The real boxes, owned by the window they belong to. They write in the owner's type face and size,
// so they grow with the window's zoom.
class TMessageBoxDialogs : public IDialogs {
public:
    explicit TMessageBoxDialogs(QWidget* owner) : owner_(owner) {}
    void Ok(const QString& text) override;
    bool YesNo(const QString& text, bool yesByDefault = false) override;
    int Choose(const QString& text, const QString& first, const QString& second, const QString& keepText,
               bool& keep) override;
    void Info(const QString& caption, const QString& text) override;
    void InfoFollowing(const QString& caption, const TChangingText& text) override;
    QString SaveFileName(const QString& suggested) override;
    QString OpenFileName(const QString& folder) override;
    bool GameSetup(TGameSetup& setup, bool engine) override;
    bool EditPosition(TEditedStart& start, const TPictures& pictures, double scale) override;
    QString SavePictureName(const QString& suggested) override;

    // The box Ok, Info and YesNo show, made but not yet shown. Its text breaks only at its own line
    // ends; a text too wide for the screen is written smaller. A question's default button is No, so
    // that a stray Enter never resigns or ends a game.
    std::unique_ptr<QDialog> MakeBox(const QString& caption, const QString& text, bool question) const;

private:
    QWidget* owner_;
};

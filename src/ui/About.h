// The version box's text: the game and its version, its licence, the engine found and the fonts in
// use. What the engine calls itself is asked of the engine, once, in a thread of its own: an engine
// takes a moment to start, and the window never waits for it.
#pragma once

#include "ui/Dialogs.h"

#include <QString>

#include <thread>

class TAboutText : public TChangingText {
    Q_OBJECT
public:
    explicit TAboutText(QObject* parent = nullptr);
    // Waits for an engine still being asked (at most the engine's own start-up time limit).
    ~TAboutText() override;

    // The first time, looks for the engine program and starts asking it its name; the engine's line
    // says "…" until it has answered.
    void Ask();
    // Whether the engine's line is complete.
    bool EngineKnown() const { return known_; }
    QString Text() const override;

private:
    std::thread asking_;
    bool asked_ = false;
    bool known_ = false;
    QString path_;    // the engine program, empty when none was found
    QString name_;    // its name and version as it gives them; empty when it would not start
    QString failure_; // why it would not start
};

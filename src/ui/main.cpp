// The program entry: the application title, the one window, the event loop.
#include "ui/Language.h"
#include "ui/MainForm.h"
#include "ui/RecordFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLocale>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// With MIRUTOA_STARTUP_REPORT set, the program prints how long it took from its start to the first
// paint of the window and then quits: the start-up time a player waits for.
class TStartupReport : public QObject {
public:
    explicit TStartupReport(const QElapsedTimer& clock) : clock_(clock) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            std::printf("startup to first paint: %.1f ms\n", double(clock_.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
    bool reported_ = false;
};

} // namespace

int main(int argc, char** argv) {
    // A save that reaches the file-size limit is then a failed write the program reports, not its end.
    std::signal(SIGXFSZ, SIG_IGN);
    QElapsedTimer startClock;
    startClock.start();
    QApplication app(argc, argv);
    TForm1::SetUpApplication();

    // The toolkit's own words (はい, いいえ) speak the game's language too, where their translation is
    // installed.
    Language::Apply(Language::Resolve(Language::Kept(), QLocale::system()));

    TForm1 form;
    TStartupReport startupReport(startClock);
    if (std::getenv("MIRUTOA_STARTUP_REPORT") != nullptr) form.installEventFilter(&startupReport);
    form.show();
    // Asked once the window stands, so that the box has the window to sit on.
    QTimer::singleShot(0, &form, [&form] { form.Records().OfferResume(); });
    return app.exec();
}

#include "sockets/LeseThread.h"

#include "hilfen/fehler.h"
#include "sockets/TcpVerbindung.h"

#include <condition_variable>
#include <exception>
#include <mutex>

struct LeseThread::Uebergabe
{
    std::mutex Sperre;
    std::condition_variable Signal;
    bool Stop = false;
    bool Erledigt = false;   // the routine has run for the pending line
    Routine Ausfuehren;
};

LeseThread::LeseThread(std::shared_ptr<TcpVerbindung> verbindung, QObject *guiContext,
                       Routine routine, bool endOnReadError)
    : Verbindung(std::move(verbindung))
    , GuiContext(guiContext)
    , EndOnReadError(endOnReadError)
    , Zustand(std::make_shared<Uebergabe>())
{
    Zustand->Ausfuehren = std::move(routine);
}

LeseThread::~LeseThread()
{
    Beenden();
    Verbindung->shutdown();
    wait();
}

void LeseThread::Beenden()
{
    {
        const std::lock_guard sperre(Zustand->Sperre);
        Zustand->Stop = true;
    }
    Zustand->Signal.notify_all();
}

bool LeseThread::gestoppt() const
{
    const std::lock_guard sperre(Zustand->Sperre);
    return Zustand->Stop;
}

void LeseThread::run()
{
    while (!gestoppt()) {
        if (!Verbindung->connected()) {
            Beenden();
            continue;
        }
        try {
            Line = Verbindung->readLine();
        } catch (const VelmoFehler &) {
            // The connection is no longer connected now, so a reader that
            // goes on finds that at the top of the loop and ends there.
            if (EndOnReadError)
                Beenden();
            continue;
        }
        uebergeben();
    }
}

// Runs the routine for Line in the GUI thread and waits until it has run or
// the thread is asked to end. The call is posted under the lock, so the queued
// call can only start once the reader is waiting and has let go of its own
// reference to it; the hand-over is then ordered by this one mutex.
void LeseThread::uebergeben()
{
    std::unique_lock sperre(Zustand->Sperre);
    Zustand->Erledigt = false;
    QMetaObject::invokeMethod(
        GuiContext,
        [zustand = Zustand, line = Line] {
            {
                const std::lock_guard sperre(zustand->Sperre);
                if (zustand->Stop)
                    return;
            }
            try {
                zustand->Ausfuehren(line);
            } catch (const std::exception &) {
                // The routine reports its own errors; nothing may escape into Qt.
            }
            {
                const std::lock_guard sperre(zustand->Sperre);
                zustand->Erledigt = true;
            }
            zustand->Signal.notify_all();
        },
        Qt::QueuedConnection);
    Zustand->Signal.wait(sperre, [this] { return Zustand->Erledigt || Zustand->Stop; });
}

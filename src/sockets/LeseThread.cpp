#include "sockets/LeseThread.h"

#include "hilfen/fehler.h"
#include "sockets/TcpVerbindung.h"

#include <condition_variable>
#include <exception>
#include <mutex>

struct LeseUebergabe
{
    std::mutex Sperre;
    std::condition_variable Signal;
    bool Stop = false;
    bool Gebeten = false;    // Beenden() asked the thread to end
    bool Ausstehend = false; // a line waits for the routine
    bool Erledigt = false;   // the routine has run for the pending line
    QByteArray Zeile;        // the pending line
    bool Laeuft = false;     // started and not yet at the end of run()
    bool Fertig = false;     // run() has returned
    LeseThread::Routine Ausfuehren;
    std::function<void()> Verloren;
};

// Lives in the GUI thread and runs the routine for the pending line. The
// reader posts a plain queued call to it, so everything handed over passes
// through the mutex of the hand-over state and no data rides in the event.
class LeseAbholer : public QObject
{
    Q_OBJECT
public:
    LeseAbholer(QObject *guiContext, std::shared_ptr<LeseUebergabe> zustand)
        : QObject(guiContext), Zustand(std::move(zustand)) {}

public slots:
    void abholen()
    {
        std::unique_lock sperre(Zustand->Sperre);
        if (Zustand->Stop || !Zustand->Ausstehend)
            return;
        const QByteArray line = Zustand->Zeile;
        sperre.unlock();
        try {
            Zustand->Ausfuehren(line);
        } catch (const std::exception &) {
            // The routine reports its own errors; nothing may escape into Qt.
        }
        sperre.lock();
        Zustand->Erledigt = true;
        sperre.unlock();
        Zustand->Signal.notify_all();
    }

    // The thread ended because its connection did; nothing when the thread
    // was asked to end meanwhile.
    void verloren()
    {
        {
            const std::lock_guard sperre(Zustand->Sperre);
            if (Zustand->Gebeten)
                return;
        }
        Zustand->Verloren();
    }

private:
    const std::shared_ptr<LeseUebergabe> Zustand;
};

LeseThread::LeseThread(std::shared_ptr<TcpVerbindung> verbindung, QObject *guiContext,
                       Routine routine, bool endOnReadError, std::function<void()> verloren)
    : Verbindung(std::move(verbindung))
    , EndOnReadError(endOnReadError)
    , Zustand(std::make_shared<LeseUebergabe>())
{
    Zustand->Ausfuehren = std::move(routine);
    Zustand->Verloren = std::move(verloren);
    Abholung = new LeseAbholer(guiContext, Zustand);
}

LeseThread::~LeseThread()
{
    Beenden();
    Verbindung->shutdown();
    wait();
    delete Abholung.data();
}

void LeseThread::start()
{
    if (Faden.joinable())
        return;
    {
        const std::lock_guard sperre(Zustand->Sperre);
        Zustand->Laeuft = true;
    }
    Faden = std::thread([this] {
        run();
        {
            const std::lock_guard sperre(Zustand->Sperre);
            Zustand->Laeuft = false;
            Zustand->Fertig = true;
        }
        Zustand->Signal.notify_all();
    });
}

bool LeseThread::isRunning() const
{
    const std::lock_guard sperre(Zustand->Sperre);
    return Zustand->Laeuft;
}

bool LeseThread::isFinished() const
{
    const std::lock_guard sperre(Zustand->Sperre);
    return Zustand->Fertig;
}

bool LeseThread::wait(int ms)
{
    if (!Faden.joinable())
        return true;
    {
        std::unique_lock sperre(Zustand->Sperre);
        const auto fertig = [this] { return Zustand->Fertig; };
        if (ms < 0)
            Zustand->Signal.wait(sperre, fertig);
        else if (!Zustand->Signal.wait_for(sperre, std::chrono::milliseconds(ms), fertig))
            return false;
    }
    Faden.join();
    return true;
}

void LeseThread::Beenden()
{
    {
        const std::lock_guard sperre(Zustand->Sperre);
        Zustand->Stop = true;
        Zustand->Gebeten = true;
    }
    Zustand->Signal.notify_all();
}

void LeseThread::verbindungEnde()
{
    bool melden = false;
    {
        const std::lock_guard sperre(Zustand->Sperre);
        Zustand->Stop = true;
        melden = !Zustand->Gebeten && Zustand->Verloren;
    }
    if (melden)
        QMetaObject::invokeMethod(Abholung.data(), "verloren", Qt::QueuedConnection);
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
            verbindungEnde();
            continue;
        }
        try {
            Line = Verbindung->readLine();
        } catch (const VelmoFehler &) {
            // The connection is no longer connected now, so a reader that
            // goes on finds that at the top of the loop and ends there.
            if (EndOnReadError)
                verbindungEnde();
            continue;
        }
        uebergeben();
    }
}

// Hands Line to the GUI thread and waits until the routine has run or the
// thread is asked to end. A thread already asked to end posts nothing: no
// one would take the line, and an event posted then would outlive the
// thread with nothing ordering its end before the GUI thread frees it.
void LeseThread::uebergeben()
{
    std::unique_lock sperre(Zustand->Sperre);
    if (Zustand->Stop)
        return;
    Zustand->Zeile = Line;
    Zustand->Ausstehend = true;
    Zustand->Erledigt = false;
    QMetaObject::invokeMethod(Abholung.data(), "abholen", Qt::QueuedConnection);
    Zustand->Signal.wait(sperre, [this] { return Zustand->Erledigt || Zustand->Stop; });
    Zustand->Ausstehend = false;
}

#include "LeseThread.moc"

#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <thread>

class TcpVerbindung;
struct LeseUebergabe;

// Reader thread of one connection: reads line after line and hands each one
// to a routine that runs in the GUI thread, waiting until the routine has
// run, so the lines are handled one at a time in the order they arrived.
// Asking the thread to end also releases a pending hand-over, so the GUI
// thread can stop a reader at any moment without a deadlock.
// The thread is a plain std::thread, so its start and end synchronise in
// ways that thread checkers see.
class LeseThread
{
public:
    using Routine = std::function<void(const QByteArray &line)>;

    // verbindung: the connection to read, never null.
    // guiContext: an object of the GUI thread, in whose thread routine runs;
    // it must outlive the running thread. endOnReadError: a read error ends
    // the thread (command connection); otherwise it is ignored and the loop
    // ends when it finds the connection closed (info and poll connections).
    // verloren, if set, runs in the GUI thread once the thread has ended
    // because its connection ended or failed, never when it was asked to end.
    LeseThread(std::shared_ptr<TcpVerbindung> verbindung, QObject *guiContext, Routine routine,
               bool endOnReadError, std::function<void()> verloren = {});
    // Ends the thread, shuts its connection down and waits for the end.
    virtual ~LeseThread();
    LeseThread(const LeseThread &) = delete;
    LeseThread &operator=(const LeseThread &) = delete;

    void start();
    bool isRunning() const;
    bool isFinished() const;
    // Waits until the thread has ended, at most ms milliseconds (-1: no
    // limit); true when it has ended or was never started.
    bool wait(int ms = -1);

    // Asks the thread to end and releases a pending hand-over; does not wait.
    // A thread blocked in reading ends once its connection is shut down.
    // Harmless on a thread that has ended or never started.
    void Beenden();

    // The line most recently read. Written by the reader before each
    // hand-over; the GUI thread may read it while the routine runs.
    QByteArray Line;

private:
    void run();

    bool gestoppt() const;
    void uebergeben();
    // The connection has ended by itself: the loop ends and the GUI thread
    // hears of it.
    void verbindungEnde();

    const std::shared_ptr<TcpVerbindung> Verbindung;
    const bool EndOnReadError;
    // Shared with the queued calls, which may run after this object is gone.
    const std::shared_ptr<LeseUebergabe> Zustand;
    // Runs the routine in the GUI thread when the reader posts a line.
    QPointer<QObject> Abholung;
    std::thread Faden;
};

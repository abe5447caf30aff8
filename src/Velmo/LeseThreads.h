#pragma once

#include "sockets/LeseThread.h"

class TForm1;

// The readers of the three connections; each hands its lines to its own
// routine of the main window. The end of a connection that the server
// closed or broke is reported to the main window as well.
class TClientHandleThread : public LeseThread
{
public:
    TClientHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form);
};

class TInfoHandleThread : public LeseThread
{
public:
    TInfoHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form);
};

class TPollHandleThread : public LeseThread
{
public:
    TPollHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form);
};

#include "Velmo/LeseThreads.h"

#include "Velmo/TForm1.h"

TClientHandleThread::TClientHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form)
    : LeseThread(std::move(verbindung), &form, [&form](const QByteArray &line) { form.KommandoZeile(line); }, true,
                 [&form] { form.VerbindungVerloren(); })
{
}

TInfoHandleThread::TInfoHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form)
    : LeseThread(std::move(verbindung), &form, [&form](const QByteArray &line) { form.InfoZeile(line); }, false,
                 [&form] { form.InfoVerloren(); })
{
}

TPollHandleThread::TPollHandleThread(std::shared_ptr<TcpVerbindung> verbindung, TForm1 &form)
    : LeseThread(std::move(verbindung), &form, [&form](const QByteArray &line) { form.PollZeile(line); }, false,
                 [&form] { form.RueckmeldungVerloren(); })
{
}

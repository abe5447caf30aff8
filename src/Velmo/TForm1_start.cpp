#include "Velmo/TForm1.h"

#include "Velmo/LeseThreads.h"
#include "Velmo/Sanduhr.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TBildFlaeche.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "formip/TForm3.h"
#include "formip/TForm_IP.h"
#include "lokunit/TForm2.h"
#include "regler/TReglerPanel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScreen>

namespace {

QSize Desktopgroesse()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

} // namespace

TForm1::TForm1(const QString &workDir, std::unique_ptr<Dialoge> dialoge)
    : Dialog(dialoge ? std::move(dialoge) : std::make_unique<QtDialoge>(this))
    , Form_IP([this] { return std::make_unique<TForm_IP>(*this); })
    , Form2([this] { return std::make_unique<TForm2>(this, *Dialog, WorkDir + "Data/"); })
    , Form3([this] { return std::make_unique<TForm3>(*this); })
    , Decod_Panel([this] { return DekoderPanelErzeugen(); })
    , Regler_panel([this] { return ReglerPanelErzeugen(); })
    , PageControl1([this] { return FahrstrassenSeitenErzeugen(); })
    , Memo1([this] { return ProtokollErzeugen(); })
{
    WorkDir = workDir;
    Neuverbinden = std::make_unique<Wiederverbindung>(
        [this](int versuch, qint64 ausfallMs) { return WiederVerbinden(versuch, ausfallMs); },
        [this](int versuch, int ms) { WiederverbindungGeplant(versuch, ms); });
    SteuerelementeErzeugen();
    MenueErzeugen();
    AnsichtEinrichten();
    NothaltErzeugen();
    Geschuetzt(*Dialog, [this] { FormCreate(); });
    AnsichtUebernehmen();
}

TForm1::~TForm1()
{
    LeserBeenden();
}

void TForm1::FormCreate()
{
    const QSize desktop = Desktopgroesse();
    Fensterlage(desktop.width(), desktop.height());

    // The 88 catalogue records and the 10001 plan cells exist empty since
    // the window was constructed.

    PlanFarbe = QColor(192, 192, 192);
    PaletteHoehe = PaletteHoeheStandard;
    PaletteBreite = PaletteBreiteStandard;
    PlanBreite = 980;
    PlanHoehe = 680;

    BildschirmBreite = desktop.width();
    BildschirmHoehe = desktop.height();

    PlanBitmap = QImage(PlanBreite, PlanHoehe, QImage::Format_RGB32);
    PaletteBitmap = QImage(PaletteBreite, PaletteHoehe, QImage::Format_RGB32);
    Velmo->QuelleSetzen(&PlanBitmap, PlanFarbe);
    Panel->QuelleSetzen(&PaletteBitmap, Panel->palette().window().color());
    IconBitmap = QImage(28, 28, QImage::Format_RGB32);
    Hintergrund = QImage(28, 28, QImage::Format_RGB32);
    // A right press before the first placement paints this into the cell.
    Hintergrund.fill(PlanFarbe);

    Panel->resize(617, 113);
    // The palette's tooltip names the element under the pointer.
    Panel->Tipp = [this](QPoint p) { return PalettenTipp(p.x(), p.y()); };

    Fahr = std::make_unique<CFahr>(Dokument.FahrstrassenTabelle);
    FahrEditor = std::make_unique<Fahrstrasseneditor>(*Fahr);
    Bahn = std::make_unique<Cbahn>(
        *this, Command_Socket, [this](const QString &zeile) { ProtokollZeile(zeile); },
        [this](const QString &meldung) { StatusMelden(meldung); }, [this](const QString &fehler) { FehlerZeigen(fehler); });
    Bahn->Beantwortet = [this](const QByteArray &befehl, const Antwort &antwort) { Beantwortet(befehl, antwort); };
    Rueck = std::make_unique<Crueck>(
        Dokument.Zellen, [this](const QString &name, int x, int y) { IconZeichnen(name, x, y); },
        [this] { StatusBar1->SetzeText(1, QStringLiteral("Fehler !!")); });

    ProgressBar1->hide();
    Prozent_Label->hide();
    Panel->hide();

    Titel = QStringLiteral("Strandor V 0.5");
    setWindowTitle(Titel);

    EntwurfModus = DekoderModus = BetriebModus = FahrstrassenModus = ReglerModus = ElementGewaehlt = false;
    ElementeGeladen = false;
    AktuelleFahrstrasse = 1;
    ScrollX = 0;
    ScrollY = 0;

    for (QAction *item : {Speichern1, Speichernals1, Gleisbildentwerfen1, Dekoderadressen1, Betrieb1,
                          Fahrstrassen1, Fahrstrassenbearbeiten1, Softregler1, Abfragestarten1, Abfragebeenden1,
                          Drucken1, PdfExportieren1})
        item->setEnabled(false);
    Dokument.Zellen.PosAnzahl = 0;
    Bildschirm1->setEnabled(true);
    automatisch1->setChecked(true);
    for (QAction *item : {N640mal480, N800mal600, N1024mal768})
        item->setChecked(false);

    SrcpVersion = SrcpVersion073;
    InfoMode = 0;

    StatusBar1->SetzeText(1, "WorkDir: " + WorkDir);
    PlanLoeschen();

    // The 40 locomotive records hold their defaults since construction.

    LadeElemente();

    ServerHost = "localhost";
    ServerPort = 12345;
    VerbindungenEinstellen();

    try {
        Bahn->LoadParameters();
        VerbindungenEinstellen();
    } catch (const std::exception &) {
        QString text = QStringLiteral("Die Parameterdatei wurde nicht gefunden");
        if (Bahn->SicherungFaellig())
            text += QStringLiteral("\rDie alte Datei bleibt als %1 erhalten.").arg(Bahn->SicherungsName());
        Dialog->Meldung(text, QStringLiteral("Fehler"), Dialoge::Art::Warnung);
    }
    const QString seitenfehler = LiesSeitendatei(Bahn->SeitenPfad(), Seite, Lokomotiven);
    if (!seitenfehler.isEmpty())
        SendehinweisZeigen(seitenfehler);
    if (!Bahn->DatenSchreibbar())
        Dialog->Meldung(QStringLiteral("Velmo kann im Ordner %1 nicht schreiben: Verbindungseinstellungen und "
                                       "Lokomotiven werden nicht gespeichert.\rBitte Velmo in einen eigenen Ordner "
                                       "installieren, zum Beispiel ~/.local/opt/velmo.")
                            .arg(QDir::toNativeSeparators(WorkDir + "Data")),
                        QStringLiteral("Fehler"), Dialoge::Art::Warnung);

    Fahr->Leeren();
}

void TForm1::VerbindungenEinstellen()
{
    for (TcpClient *socket : {&Command_Socket, &Poll_Socket, &Info_Socket})
        socket->setHost(ServerHost);
    const SrcpPorts ports = Ports(SrcpVersion, ServerPort);
    Command_Socket.setPort(ports.Command);
    Poll_Socket.setPort(ports.Poll);
    Info_Socket.setPort(ports.Info);
}

void TForm1::LadeElemente()
{
    Sanduhr sanduhr;
    LadeKatalog(*this, WorkDir);
}

void TForm1::Fensterlage(int w, int h)
{
    resize(w - 5, h - 35);
    move((w - width()) / 2, 1);
    if (layout())
        layout()->activate();
    FormClientHoehe = Client->height();
    FormClientBreite = Client->width();
}

void TForm1::Bildschirmmodus(QAction *item, int w, int h)
{
    for (QAction *other : {automatisch1, N640mal480, N800mal600, N1024mal768})
        other->setChecked(other == item);
    Fensterlage(w, h);
}

void TForm1::automatisch1Click()
{
    const QSize desktop = Desktopgroesse();
    Bildschirmmodus(automatisch1, desktop.width(), desktop.height());
}

void TForm1::N640mal480Click()
{
    Bildschirmmodus(N640mal480, 640, 480);
}

void TForm1::N800mal600Click()
{
    Bildschirmmodus(N800mal600, 800, 600);
}

void TForm1::N1024mal768Click()
{
    Bildschirmmodus(N1024mal768, 1024, 768);
}

// Unsaved changes of the plan are asked about before anything is written,
// and only once: the close that follows does not ask again.
void TForm1::Exit1Click()
{
    if (!AenderungenBehandelt() || !EinstellungenGesichert())
        return;
    SchliessenGefragt = true;
    const auto zuruecksetzen = qScopeGuard([this] { SchliessenGefragt = false; });
    close();
}

// A settings file that cannot be written (a read-only Data/, a full disk)
// must not keep the user from ending the program: the error is shown and
// the user decides; the old file stays as it was.
bool TForm1::EinstellungenGesichert()
{
    try {
        Bahn->SaveParameters();
        return true;
    } catch (const VelmoFehler &fehler) {
        FehlerZeigen(fehler.Text);
    }
    return Dialog->Frage(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden. Trotzdem beenden?"),
                         QStringLiteral("Fehler"), false)
        == Dialoge::Antwort::Ja;
}

void TForm1::FehlerZeigen(const QString &text)
{
    FehlerMelden(*Dialog, text);
}

void TForm1::IPAdresseHost1Click()
{
    Form_IP->exec();
}

void TForm1::SRCPVersion1Click()
{
    if (Form3->exec() != QDialog::Accepted)
        return;
    SrcpVersion = Form3->RadioGroup1Index() == 0 ? SrcpVersion073 : SrcpVersion080;
    VerbindungenEinstellen();
}

#pragma once

#include "Velmo/BeiBedarf.h"
#include "Velmo/Dialoge.h"
#include "Velmo/Geschuetzt.h"
#include "bedienung/Ablehnungsmarken.h"
#include "bedienung/Arbeitsmodi.h"
#include "bedienung/Fahrstrassenbau.h"
#include "bedienung/Platzierung.h"
#include "dokument/PlanDokument.h"
#include "elemente/Bilder.h"
#include "elemente/Katalog.h"
#include "fahrunit/CFahr.h"
#include "position/C_Position.h"
#include "rueckunit/Crueck.h"
#include "sockets/TcpClient.h"
#include "srcpproto/BahnZustand.h"
#include "srcpproto/Cbahn.h"
#include "srcpproto/Fahrstrom.h"
#include "srcpproto/Verbindungslage.h"
#include "srcpproto/Wiederverbindung.h"

#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTabWidget;
class TBildFlaeche;
class TDekoderPanel;
class TFahrstrassenSeiten;
class TReglerPanel;
class TStatusLeiste;
class TForm_IP;
class TForm2;
class TForm3;
class TClientHandleThread;
class TInfoHandleThread;
class TPollHandleThread;

// The main window: the plan view, the bottom strip of palette, decoder panel
// and throttles, the menu and the status bar. It owns the program's state
// for the whole run, shows the one plan document it owns and calls the core
// for every rule.
class TForm1 : public QMainWindow, public CKatalog, public BahnZustand, public Arbeitsmodi
{
    Q_OBJECT
public:
    // workDir: the directory of the program file, with a trailing "/".
    explicit TForm1(const QString &workDir, std::unique_ptr<Dialoge> dialoge = nullptr);
    ~TForm1() override;

    // --- plan pictures and geometry
    QImage PlanBitmap;
    QImage PaletteBitmap;
    QImage IconBitmap;
    QImage Hintergrund;
    // The picture of the element picked in the palette, read from its
    // state-1 icon file when it was picked.
    QImage GewaehltesBild;
    int PlanBreite = 0;
    int PlanHoehe = 0;
    int PaletteBreite = 0;
    int PaletteHoehe = 0;
    QColor PlanFarbe;
    int BildschirmBreite = 0;
    int BildschirmHoehe = 0;
    int FormClientHoehe = 0;
    int FormClientBreite = 0;
    int ScrollX = 0;
    int ScrollY = 0;

    // --- working modes (the flags and the palette pick come from Arbeitsmodi)
    int AktuelleFahrstrasse = 1;
    // The locomotive record a direction button touched last.
    int AktuelleLok = 0;
    // The slot the decoder panel shows.
    int DekoderPosition = 0;

    QString Titel;
    // The plan: its cells and routes, its file and its undo steps.
    PlanDokument Dokument;

    // --- helper objects and connections
    TcpClient Command_Socket;
    TcpClient Poll_Socket;
    TcpClient Info_Socket;
    std::unique_ptr<CFahr> Fahr;
    std::unique_ptr<Fahrstrasseneditor> FahrEditor;
    std::unique_ptr<Cbahn> Bahn;
    std::unique_ptr<Crueck> Rueck;
    std::unique_ptr<TClientHandleThread> ClientThread;
    std::unique_ptr<TInfoHandleThread> InfoThread;
    std::unique_ptr<TPollHandleThread> PollThread;
    // The link and the track power as the status bar shows them, and the
    // devices whose last command the server refused.
    Verbindungslage Lage;
    Fahrstrom Strom;
    Ablehnungsmarken Abgelehnt;
    // Connecting again after the server dropped the command connection.
    std::unique_ptr<Wiederverbindung> Neuverbinden;
    // A loss longer than this (ms) stops every locomotive on reconnecting.
    qint64 KurzerAusfall = 5000;

    std::unique_ptr<Dialoge> Dialog;
    // The dialogs are made when they are first opened; each shows the
    // settings as they are then.
    BeiBedarf<TForm_IP> Form_IP;
    BeiBedarf<TForm2> Form2;
    BeiBedarf<TForm3> Form3;

    // --- controls
    QWidget *Client = nullptr;
    TBildFlaeche *Velmo = nullptr;
    QScrollBar *HScrollBar = nullptr;
    QScrollBar *VScrollBar = nullptr;
    TBildFlaeche *Panel = nullptr;
    // The start shows none of these three; each is made, hidden, when it
    // is first used.
    BeiBedarf<TDekoderPanel> Decod_Panel;
    BeiBedarf<TReglerPanel> Regler_panel;
    QFrame *Manage_panel = nullptr;
    BeiBedarf<TFahrstrassenSeiten> PageControl1;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Prozent_Label = nullptr;
    QPushButton *Laden_Abbrechen = nullptr;
    // The log of the server's lines, made with the first line.
    BeiBedarf<QPlainTextEdit> Memo1;
    static constexpr int ProtokollZeilen = 5000;
    TBildFlaeche *Hilfsbild1 = nullptr;
    TStatusLeiste *StatusBar1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Info1_Label = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Status_Label = nullptr;
    QLabel *Info2_label = nullptr;
    QPushButton *Nothalt_Button = nullptr;

    // --- menu
    QAction *Neu1 = nullptr;
    QAction *Oeffnen1 = nullptr;
    QAction *Speichern1 = nullptr;
    QAction *Speichernals1 = nullptr;
    QAction *Drucken1 = nullptr;
    QAction *PdfExportieren1 = nullptr;
    QAction *Hostverbinden1 = nullptr;
    QAction *Hosttrennen1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *Rueckgaengig1 = nullptr;
    QAction *Wiederherstellen1 = nullptr;
    QAction *Gleisbildentwerfen1 = nullptr;
    QAction *Dekoderadressen1 = nullptr;
    QAction *Betrieb1 = nullptr;
    QAction *Fahrstrassen1 = nullptr;
    QAction *Fahrstrassenbearbeiten1 = nullptr;
    QAction *Softregler1 = nullptr;
    QAction *IPAdresseHost1 = nullptr;
    QAction *SRCPVersion1 = nullptr;
    QAction *Abfragestarten1 = nullptr;
    QAction *Abfragebeenden1 = nullptr;
    QAction *reset1 = nullptr;
    QAction *Poweron1 = nullptr;
    QAction *Poweroff1 = nullptr;
    QAction *DekoderProgrammierung1 = nullptr;
    QAction *freieBefehle1 = nullptr;
    QAction *automatisch1 = nullptr;
    QAction *N640mal480 = nullptr;
    QAction *N800mal600 = nullptr;
    QAction *N1024mal768 = nullptr;
    QAction *Zoom100 = nullptr;
    QAction *Zoom200 = nullptr;
    QAction *Zoom300 = nullptr;
    QAction *Raster1 = nullptr;
    QMenu *Bildschirm1 = nullptr;

    // --- start-up and layout
    void FormCreate();
    void FormResize();
    void Fensterlage(int w, int h);
    void automatisch1Click();
    void N640mal480Click();
    void N800mal600Click();
    void N1024mal768Click();
    void Exit1Click();
    // The zoom of the plan view (remembered in the side file) and the grid
    // in design mode.
    void Zoom100Click();
    void Zoom200Click();
    void Zoom300Click();
    void Raster1Click();
    void LadeElemente();
    // Applies ServerHost, ServerPort and the ports of SrcpVersion to the
    // three connections.
    void VerbindungenEinstellen();

    // --- plan files
    void Neu1Click();
    void Oeffnen1Click();
    // Opens the plan file at pfad as "Öffnen" does after its dialog.
    void PlanOeffnen(const QString &pfad);
    void Speichern1Click();
    void Speichernals1Click();
    // The plan picture and its wiring sheet on the printer the print dialog
    // chooses, or in a PDF file.
    void Drucken1Click();
    void PdfExportieren1Click();
    // "Abbrechen" beside the progress of a load.
    void Laden_AbbrechenClick();
    // Reads dir + name completely, then takes it over as the current plan
    // and draws it; a file that cannot be read changes nothing. While
    // connected each wired cell's stored position is pulsed, one cell after
    // the other, each cell drawn after its pulse; the load runs on while
    // the interface does, and "Abbrechen" ends it. The routes come from the
    // route file beside it; without one, or with one that cannot be read,
    // the plan has none. `fertig` runs once the plan is drawn whole (at once
    // when nothing is sent), with the first error of reading the routes or
    // drawing, which did not stop the load.
    void LadePlan(const QString &dir, const QString &name, std::function<void(const QString &fehler)> fertig = {});
    // Writes the plan file and the route file beside it; a route file that
    // could not be read is left as it is (Dokument.FahrstrassenUngelesen).
    void SpeicherePlan(const QString &name, const QString &dir);
    // A save the user asks for ("Speichern", "Speichern als", "Ja" to
    // saving the changes) writes the routes too, over a route file that
    // could not be read as well.
    void SpeichernAufWunsch(const QString &name, const QString &dir);

    // --- undo and redo ("Bearbeiten"), in design, decoder and route-editing mode
    void Rueckgaengig1Click();
    void Wiederherstellen1Click();

    // --- working modes and palette
    void Gleisbildentwerfen1Click();
    void Dekoderadressen1Click();
    void Betrieb1Click();
    void Fahrstrassen1Click();
    void Fahrstrassenbearbeiten1Click();
    void Softregler1Click();
    void PanelPaint();
    void PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void VelmoMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void VelmoMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int X, int Y);
    void VelmoMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);

    // --- routes
    void PageControl1Change();
    void ButtonFahrerst_plusClick();
    void ButtonFahrerst_minusClick();
    void ButtonverbindenClick();
    void ButtonFahrerst_speichernClick();
    void Buttonfahrerst_cancelClick();
    void ButtonFahrdel_plusClick();
    void ButtonFahrdel_minusClick();
    void ButtonFahrdel_delClick();

    // --- throttles and locomotive decoders; i is the record index 0 to 9
    void SpeedButtonClick(int i);
    void ScrollBarChange(int i);
    void Func_picClick(int i);
    void FuncClick(int i, int k);
    // Opens the decoder dialog for record i; confirming it rebuilds the
    // throttle and writes the settings file.
    void LokDialogOeffnen(int i);

    // --- decoder addresses
    void ZeigeDekoder(int element, int slot);
    void Speichern_ButtonClick();

    // --- settings dialogs
    void IPAdresseHost1Click();
    void SRCPVersion1Click();

    // --- connections
    void Hostverbinden1Click();
    void Hosttrennen1Click();
    // Asked before the window closes; refuses while the command connection is open.
    void FormCloseQuery(bool &CanClose);
    void Abfragestarten1Click();
    void Abfragebeenden1Click();
    void reset1Click();
    void Poweron1Click();
    void Poweroff1Click();
    void freieBefehle1Click();
    // "Nothalt" (Pause, F12, the red button): track power off on every bus
    // at once, whatever the mode; never asks.
    void NothaltClick();
    // The routines that handle one received line in the GUI thread.
    void KommandoZeile(const QByteArray &line);
    void InfoZeile(const QByteArray &line);
    // The server ended or broke the command connection: the info and
    // feedback connections go with it, every contact shows free, and the
    // status bar says so, with the outputs whose "off" could not be sent.
    void VerbindungVerloren();
    // The server ended or broke the info or the feedback connection alone.
    void InfoVerloren();
    void RueckmeldungVerloren();
    void PollZeile(const QByteArray &line);

    // --- plan view
    void PlanLoeschen();
    // Draws element's picture for state at plan point (x, y); an operation
    // drawing many cells hands its cell icons to each.
    void ZeichneElement(int state, int x, int y, int element, Zellbilder *bilder = nullptr);
    void VelmoPaint();
    void HScrollBarChange();
    void VScrollBarChange();
    // Draws the picture file `name` at plan point (x, y) into the plan and the view.
    void IconZeichnen(const QString &name, int x, int y);

    // Shows an error in the critical message box of the program.
    void FehlerZeigen(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Ladevorgang;
    // The load in progress, while its pulses run.
    std::shared_ptr<Ladevorgang> Laden;
    void LadefortschrittZeigen(Ladevorgang &laden, int i);
    // The left status panel: why a press sent nothing; empty clears it.
    void SendehinweisZeigen(const QString &hinweis);
    // "E&xit" has asked about unsaved changes before the close it asks for.
    bool SchliessenGefragt = false;
    // Asks, while the plan has unsaved changes, whether to save them first;
    // false when the user cancels.
    bool AenderungenBehandelt();
    // Saves the settings for "E&xit"; false when that failed and the user
    // chose to stay.
    bool EinstellungenGesichert();
    void PlanMenuesFreigeben();
    void ModusAnzeigen(QAction *item);
    // Leaves route editing if it is on, sets mode m and checks its item.
    void ModusWechseln(Modus m, QAction *item);
    void BetriebDruck(Qt::MouseButton button, int X, int Y);
    void FahrstrassenDruck(Qt::MouseButton button, int X, int Y);
    // Makes route r current and sets it on the layout; a number outside
    // 1 to 63 selects nothing.
    void FahrstrasseWaehlen(int r, Zellbilder &bilder);
    // Draws the cells of route r route-marked or in their own position.
    void FahrstrasseZeigen(int r, bool markiert);
    void FahrstrasseWechseln(int schritt);
    void FahrstrassenbearbeitungBeenden();
    void BildZeichnen(const ZellBild &bild, Zellbilder *bilder = nullptr);
    // The cells a route set last shows route-marked, until the next press.
    QList<QPoint> FahrstrassenMarken;
    Sicht Sichtlage() const;
    void EntwurfAusfuehren(const Entwurfsschritte &schritte);
    // The press cell of the placement under way, from the left press to the
    // left release.
    std::optional<PlanZelle> Platzierung;
    // Undo and redo are offered while a plan is edited in design, decoder or
    // route-editing mode, no placement is under way and no load runs: in
    // operating mode the pulses draw after their own time.
    void BearbeitenZeigen();
    // Undoes or redoes a step, draws the cells it changed as the mode shows
    // them and refreshes the panel that shows what it changed.
    void SchrittAusfuehren(QList<QPoint> (PlanDokument::*schritt)());
    void EntwurfDruck(Qt::MouseButton button, int X, int Y);
    void EntwurfLosgelassen(Qt::MouseButton button, int X, int Y);
    void ZelleKopieren(const QImage &bild, const PlanZelle &zelle);
    void DekoderDruck(Qt::MouseButton button, int X, int Y);
    void PowerSenden(bool ein);
    // The steps of "Host verbinden"; a reconnect try (from 1) shows no box.
    // Returns whether the command connection stands and, under SRCP 0.8,
    // its session has begun.
    bool Verbinden(int versuch);
    // Closes the command and info connections, the running pulses first.
    void Trennen();
    bool AbfrageOeffnen(bool still);
    // A reconnect try, and bringing the layout back in line after it.
    bool WiederVerbinden(int versuch, qint64 ausfallMs);
    void Abgleichen(qint64 ausfallMs);
    // Shows the loss and when try `versuch` comes.
    void WiederverbindungGeplant(int versuch, int ms);
    // The poll connection was open when the server went.
    bool AbfrageWiederOeffnen = false;
    // The power the operator chose last, restored after a reconnect.
    std::optional<bool> StromWunsch;
    // The error of the last failed connect.
    QString Verbindungsfehler;
    // What the status bar added to the loss: the outputs that may be on.
    QString VerlustZusatz;
    void LageZeigen();
    void StromZeigen();
    // The reply to a command (or, under SRCP 0.7.3, the command as sent).
    void Beantwortet(const QByteArray &befehl, const Antwort &antwort);
    // Frames the cells and names the throttles whose command was refused.
    void MarkenZeigen();
    void NothaltErzeugen();
    // The opening exchange of an SRCP 0.8 info session on an open connection.
    void InfoSitzungEroeffnen(TcpClient &socket, Infositzung &sitzung);
    void ProtokollZeile(const QString &zeile);
    void StatusMelden(const QString &meldung);
    template<class Thread>
    bool Oeffnen(TcpClient &socket, bool &verbunden, std::unique_ptr<Thread> &thread, const char *name,
                 const std::function<void()> &geoeffnet = {}, bool still = false);
    void LeserBeenden();
    void SteuerelementeErzeugen();
    std::unique_ptr<TDekoderPanel> DekoderPanelErzeugen();
    std::unique_ptr<TReglerPanel> ReglerPanelErzeugen();
    std::unique_ptr<TFahrstrassenSeiten> FahrstrassenSeitenErzeugen();
    std::unique_ptr<QPlainTextEdit> ProtokollErzeugen();
    // A panel made after the start takes the place in the client area it
    // would have had from the start: hidden, below the progress of a load.
    void Einreihen(QWidget *panel);
    // The places of the bottom strip's panels in the client area as it is.
    QRect DekoderLage() const;
    QRect ReglerLage() const;
    QRect ProtokollLage(const QWidget &protokoll) const;
    void MenueErzeugen();
    QAction *MenuePunkt(QMenu *menu, const QString &caption, const QString &name, void (TForm1::*handler)(),
                        const QKeySequence &taste = {});
    void Bildschirmmodus(QAction *item, int w, int h);
    void SichtfensterKopieren(int h, int v);
    // --- zoom, grid and the cell under the pointer (TForm1_zoom.cpp)
    // The zoom and grid items of "Bildschirm", the zoom keys, the cell field.
    void AnsichtEinrichten();
    // Takes over the zoom and the grid of the side file read at start.
    void AnsichtUebernehmen();
    // Shows the plan view at factor f; choosing it also writes the side file.
    void ZoomZeigen(int f);
    void ZoomWaehlen(int f);
    // The grid while design mode is on and it is switched on, for the view
    // showing the plan from `scroll`; and the cell field of the status bar.
    void GitterZeigen(QPoint scroll);
    void EntwurfsansichtZeigen();
    void ZelleUnterZeiger(QPoint p);
};

#pragma once

#include "Velmo/Dialoge.h"
#include "Velmo/Geschuetzt.h"
#include "elemente/Katalog.h"
#include "fahrunit/CFahr.h"
#include "position/C_Position.h"
#include "rueckunit/Crueck.h"
#include "sockets/TcpClient.h"
#include "srcpproto/BahnZustand.h"
#include "srcpproto/Cbahn.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTabWidget;
class TBildFlaeche;
class TStatusLeiste;
class TForm_IP;
class TForm2;
class TForm3;
class TClientHandleThread;
class TInfoHandleThread;
class TPollHandleThread;

// The main window: the plan view, the bottom strip of palette, decoder panel
// and throttles, the menu and the status bar. It owns the program's state
// for the whole run and calls the core for every rule.
class TForm1 : public QMainWindow, public CKatalog, public CPlanZellen, public BahnZustand
{
    Q_OBJECT
public:
    // workDir: the directory of the program file, with a trailing "/".
    explicit TForm1(const QString &workDir, std::unique_ptr<Dialoge> dialoge = nullptr);
    ~TForm1() override;

    // Creates the three dialogs, hidden, in the order of the program start.
    void DialogeErzeugen();

    // --- plan pictures and geometry
    QImage PlanBitmap;
    QImage PaletteBitmap;
    QImage IconBitmap;
    QImage Hintergrund;
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
    QRect QuellRect;
    QRect ZielRect;

    // --- working modes
    int AktuelleFahrstrasse = 1;
    bool EntwurfModus = false;
    bool DekoderModus = false;
    bool BetriebModus = false;
    bool FahrstrassenModus = false;
    bool ReglerModus = false;
    bool ElementGewaehlt = false;

    QString Titel;
    QString PlanName;
    QString PlanDir;

    // --- helper objects and connections
    TcpClient Command_Socket;
    TcpClient Poll_Socket;
    TcpClient Info_Socket;
    std::unique_ptr<CFahr> Fahr;
    std::unique_ptr<Cbahn> Bahn;
    std::unique_ptr<Crueck> Rueck;
    std::unique_ptr<TClientHandleThread> ClientThread;
    std::unique_ptr<TInfoHandleThread> InfoThread;
    std::unique_ptr<TPollHandleThread> PollThread;

    std::unique_ptr<Dialoge> Dialog;
    std::unique_ptr<TForm_IP> Form_IP;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;

    // --- controls
    QWidget *Client = nullptr;
    TBildFlaeche *Velmo = nullptr;
    QScrollBar *HScrollBar = nullptr;
    QScrollBar *VScrollBar = nullptr;
    TBildFlaeche *Panel = nullptr;
    QFrame *Decod_Panel = nullptr;
    QLabel *Index_label = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Decod_Label = nullptr;
    QLabel *Daten_label = nullptr;
    QLabel *Protokoll_Label = nullptr;
    QLineEdit *Decod_edit1 = nullptr;
    QLineEdit *Decod_edit2 = nullptr;
    QLineEdit *Decod_edit3 = nullptr;
    QLineEdit *Daten_Edit1 = nullptr;
    QLineEdit *Daten_Edit2 = nullptr;
    QLineEdit *Daten_Edit3 = nullptr;
    QLineEdit *Protokoll_Edit = nullptr;
    QPushButton *Speichern_Button = nullptr;
    QFrame *Regler_panel = nullptr;
    QFrame *Manage_panel = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Prozent_Label = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    TBildFlaeche *Hilfsbild1 = nullptr;
    TStatusLeiste *StatusBar1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Info1_Label = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Status_Label = nullptr;
    QLabel *Info2_label = nullptr;

    // --- menu
    QAction *Neu1 = nullptr;
    QAction *Oeffnen1 = nullptr;
    QAction *Speichern1 = nullptr;
    QAction *Speichernals1 = nullptr;
    QAction *Hostverbinden1 = nullptr;
    QAction *Hosttrennen1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *Gleisbildentwerfen1 = nullptr;
    QAction *Dekoderadressen1 = nullptr;
    QAction *Betrieb1 = nullptr;
    QAction *Fahrstrassen1 = nullptr;
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
    void LadeElemente();
    // Applies ServerHost and ServerPort to the three connections.
    void VerbindungenEinstellen();

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
    // The routines that handle one received line in the GUI thread.
    void KommandoZeile(const QByteArray &line);
    void InfoZeile(const QByteArray &line);
    void PollZeile(const QByteArray &line);

    // --- plan view
    void PlanLoeschen();
    void ZeichneElement(int state, int x, int y, int element);
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
    void PowerSenden(bool ein);
    template<class Thread>
    bool Oeffnen(TcpClient &socket, bool &verbunden, std::unique_ptr<Thread> &thread, const char *name,
                 const std::function<void()> &geoeffnet = {});
    void LeserBeenden();
    void SteuerelementeErzeugen();
    void DekoderPanelErzeugen();
    void MenueErzeugen();
    QAction *MenuePunkt(QMenu *menu, const QString &caption, const QString &name, void (TForm1::*handler)());
    void Bildschirmmodus(QAction *item, int w, int h);
    void SichtfensterKopieren(int h, int v);
    void SichtFuellen();
};

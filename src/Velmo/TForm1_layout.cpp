#include "Velmo/TForm1.h"

#include "Velmo/TBildFlaeche.h"
#include "Velmo/TDekoderPanel.h"
#include "Velmo/TFahrstrassenSeiten.h"
#include "Velmo/TStatusLeiste.h"
#include "bedienung/Planansicht.h"
#include "regler/TReglerPanel.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {

constexpr int StatusHoehe = 17;   // SB
constexpr int BalkenDicke = 17;   // width of VScrollBar, height of HScrollBar
constexpr int StreifenHoehe = 113;

// The client area calls back on every size change.
class TClient : public QWidget
{
public:
    explicit TClient(TForm1 *form) : QWidget(form), Form(form) {}

protected:
    void resizeEvent(QResizeEvent *) override { Form->FormResize(); }

private:
    TForm1 *Form;
};

template<class Panel>
Panel *FarbigesPanel(Panel *panel, const QString &name, const QColor &farbe)
{
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, farbe);
    panel->setPalette(palette);
    return panel;
}

template<class W>
W *Benannt(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

void TForm1::SteuerelementeErzeugen()
{
    Client = new TClient(this);
    setCentralWidget(Client);

    Velmo = new TBildFlaeche(Client, "Velmo");
    Velmo->NeuZeichnen = [this] { VelmoPaint(); };
    // Presses, moves and releases on the plan and presses on the palette go
    // to their handlers inside the error guard.
    auto geschuetzt = [this](auto handler) {
        return [this, handler](QMouseEvent *e) {
            const QPoint p = e->position().toPoint();
            Geschuetzt(*Dialog, [&] { handler(e, p.x(), p.y()); });
        };
    };
    connect(Velmo, &TBildFlaeche::MausGedrueckt, this, geschuetzt([this](QMouseEvent *e, int x, int y) {
        VelmoMouseDown(e->button(), e->modifiers(), x, y);
    }));
    connect(Velmo, &TBildFlaeche::MausBewegt, this, geschuetzt([this](QMouseEvent *e, int x, int y) {
        VelmoMouseMove(e->buttons(), e->modifiers(), x, y);
    }));
    connect(Velmo, &TBildFlaeche::MausLosgelassen, this, geschuetzt([this](QMouseEvent *e, int x, int y) {
        VelmoMouseUp(e->button(), e->modifiers(), x, y);
    }));

    HScrollBar = Benannt(new QScrollBar(Qt::Horizontal, Client), "HScrollBar");
    VScrollBar = Benannt(new QScrollBar(Qt::Vertical, Client), "VScrollBar");
    for (QScrollBar *bar : {HScrollBar, VScrollBar})
        bar->setSingleStep(27);
    HScrollBar->setRange(0, 980);
    VScrollBar->setRange(0, 680);
    HScrollBar->setFixedHeight(BalkenDicke);
    VScrollBar->setFixedWidth(BalkenDicke);
    connect(HScrollBar, &QScrollBar::valueChanged, this, [this] { Geschuetzt(*Dialog, [this] { HScrollBarChange(); }); });
    connect(VScrollBar, &QScrollBar::valueChanged, this, [this] { Geschuetzt(*Dialog, [this] { VScrollBarChange(); }); });

    Panel = new TBildFlaeche(Client, "Panel");
    Panel->NeuZeichnen = [this] { PanelPaint(); };
    connect(Panel, &TBildFlaeche::MausGedrueckt, this, geschuetzt([this](QMouseEvent *e, int x, int y) {
        PanelMouseDown(e->button(), e->modifiers(), x, y);
    }));
    Hilfsbild1 = new TBildFlaeche(Client, "Hilfsbild1");
    Hilfsbild1->hide();

    Manage_panel = FarbigesPanel(new QFrame(Client), "Manage_panel", palette().window().color());
    Manage_panel->hide();
    Label1 = Benannt(new QLabel(Manage_panel), "Label1");
    Info1_Label = Benannt(new QLabel(Manage_panel), "Info1_Label");
    Label2 = Benannt(new QLabel(Manage_panel), "Label2");
    Status_Label = Benannt(new QLabel(Manage_panel), "Status_Label");
    Info2_label = Benannt(new QLabel(Manage_panel), "Info2_label");

    ProgressBar1 = Benannt(new QProgressBar(Client), "ProgressBar1");
    ProgressBar1->resize(300, 20);
    Prozent_Label = Benannt(new QLabel(Client), "Prozent_Label");
    Laden_Abbrechen = Benannt(new QPushButton(QStringLiteral("Abbrechen"), Client), "Laden_Abbrechen");
    Laden_Abbrechen->hide();
    connect(Laden_Abbrechen, &QPushButton::clicked, this, [this] { Geschuetzt(*Dialog, [this] { Laden_AbbrechenClick(); }); });

    StatusBar1 = new TStatusLeiste(Client);
    StatusBar1->setFixedHeight(StatusHoehe);
}

std::unique_ptr<TDekoderPanel> TForm1::DekoderPanelErzeugen()
{
    auto panel = std::make_unique<TDekoderPanel>(Client);
    FarbigesPanel(panel.get(), "Decod_Panel", QColor(128, 128, 0));
    connect(panel->Speichern_Button, &QPushButton::clicked, this,
            [this] { Geschuetzt(*Dialog, [this] { Speichern_ButtonClick(); }); });
    Einreihen(panel.get());
    panel->setGeometry(DekoderLage());
    return panel;
}

std::unique_ptr<TReglerPanel> TForm1::ReglerPanelErzeugen()
{
    auto panel = std::make_unique<TReglerPanel>(Client, Lokomotiven, WorkDir + "Data/",
                                                [this](int i) { Bahn->SendLocoCommand(i); });
    FarbigesPanel(panel.get(), "Regler_panel", QColor(0, 128, 128));
    auto reglerHandler = [this](auto handler) {
        return [this, handler](auto... werte) { Geschuetzt(*Dialog, [&] { (this->*handler)(werte...); }); };
    };
    connect(panel.get(), &TReglerPanel::SpeedButtonClick, this, reglerHandler(&TForm1::SpeedButtonClick));
    connect(panel.get(), &TReglerPanel::ScrollBarChange, this, reglerHandler(&TForm1::ScrollBarChange));
    connect(panel.get(), &TReglerPanel::Func_picClick, this, reglerHandler(&TForm1::Func_picClick));
    connect(panel.get(), &TReglerPanel::FuncClick, this, reglerHandler(&TForm1::FuncClick));
    Einreihen(panel.get());
    panel->setGeometry(ReglerLage());
    return panel;
}

std::unique_ptr<TFahrstrassenSeiten> TForm1::FahrstrassenSeitenErzeugen()
{
    auto seiten = std::make_unique<TFahrstrassenSeiten>(Client);
    connect(seiten.get(), &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    const std::pair<QPushButton *, void (TForm1::*)()> knoepfe[] = {
        {seiten->ButtonFahrerst_plus, &TForm1::ButtonFahrerst_plusClick},
        {seiten->ButtonFahrerst_minus, &TForm1::ButtonFahrerst_minusClick},
        {seiten->Buttonverbinden, &TForm1::ButtonverbindenClick},
        {seiten->ButtonFahrerst_speichern, &TForm1::ButtonFahrerst_speichernClick},
        {seiten->Buttonfahrerst_cancel, &TForm1::Buttonfahrerst_cancelClick},
        {seiten->ButtonFahrdel_plus, &TForm1::ButtonFahrdel_plusClick},
        {seiten->ButtonFahrdel_minus, &TForm1::ButtonFahrdel_minusClick},
        {seiten->ButtonFahrdel_del, &TForm1::ButtonFahrdel_delClick},
    };
    for (const auto &[knopf, handler] : knoepfe)
        connect(knopf, &QPushButton::clicked, this, [this, handler] { Geschuetzt(*Dialog, [this, handler] { (this->*handler)(); }); });
    Einreihen(seiten.get());
    return seiten;
}

std::unique_ptr<QPlainTextEdit> TForm1::ProtokollErzeugen()
{
    auto protokoll = std::make_unique<QPlainTextEdit>(Client);
    protokoll->setObjectName("Memo1");
    protokoll->setReadOnly(true);
    // The log keeps the newest lines only, however long the server talks.
    protokoll->setMaximumBlockCount(ProtokollZeilen);
    protokoll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Einreihen(protokoll.get());
    protokoll->setGeometry(ProtokollLage(*protokoll));
    return protokoll;
}

void TForm1::Einreihen(QWidget *panel)
{
    panel->hide();
    panel->stackUnder(ProgressBar1);
}

QRect TForm1::DekoderLage() const
{
    return {1, Client->height() - StreifenHoehe - 17 - StatusBar1->height(),
            std::max(0, Client->width() - VScrollBar->width() - 5), StreifenHoehe};
}

QRect TForm1::ReglerLage() const
{
    return {1, Client->height() - StreifenHoehe - 17 - StatusBar1->height(), 570, StreifenHoehe};
}

QRect TForm1::ProtokollLage(const QWidget &protokoll) const
{
    return {Manage_panel->x() + 20, 1, 270, protokoll.height()};
}

QAction *TForm1::MenuePunkt(QMenu *menu, const QString &caption, const QString &name, void (TForm1::*handler)(),
                            const QKeySequence &taste)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    // A menu item's key works in the whole window (Qt::WindowShortcut),
    // whichever panel has the focus.
    item->setShortcut(taste);
    if (handler)
        connect(item, &QAction::triggered, this, [this, handler] { Geschuetzt(*Dialog, [this, handler] { (this->*handler)(); }); });
    return item;
}

void TForm1::MenueErzeugen()
{
    QMenuBar *bar = menuBar();
    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    // Qt's standard keys where every desktop maps them alike; "Save as" and
    // "Quit" have no standard key on a plain X11 desktop, so theirs are fixed.
    Neu1 = MenuePunkt(datei, "&Neu", "Neu1", &TForm1::Neu1Click, QKeySequence::New);
    Oeffnen1 = MenuePunkt(datei, "Ö&ffnen", "Oeffnen1", &TForm1::Oeffnen1Click, QKeySequence::Open);
    Speichern1 = MenuePunkt(datei, "&Speichern", "Speichern1", &TForm1::Speichern1Click, QKeySequence::Save);
    Speichernals1 = MenuePunkt(datei, "Speichern &als", "Speichernals1", &TForm1::Speichernals1Click,
                               Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    Drucken1 = MenuePunkt(datei, "&Drucken …", "Drucken1", &TForm1::Drucken1Click, QKeySequence::Print);
    PdfExportieren1 = MenuePunkt(datei, "Als &PDF exportieren …", "PdfExportieren1", &TForm1::PdfExportieren1Click);
    Hostverbinden1 = MenuePunkt(datei, "Host &verbinden", "Hostverbinden1", &TForm1::Hostverbinden1Click);
    Hosttrennen1 = MenuePunkt(datei, "Host &trennen", "Hosttrennen1", &TForm1::Hosttrennen1Click);
    Exit1 = MenuePunkt(datei, "E&xit", "Exit1", &TForm1::Exit1Click, Qt::CTRL | Qt::Key_Q);

    QMenu *bearbeiten = bar->addMenu(QStringLiteral("Be&arbeiten"));
    Rueckgaengig1 = MenuePunkt(bearbeiten, "&Rückgängig", "Rueckgaengig1", &TForm1::Rueckgaengig1Click,
                               Qt::CTRL | Qt::Key_Z);
    Wiederherstellen1 = MenuePunkt(bearbeiten, "&Wiederherstellen", "Wiederherstellen1",
                                   &TForm1::Wiederherstellen1Click);
    Wiederherstellen1->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    const QUndoStack *stapel = &Dokument.Stapel();
    connect(stapel, &QUndoStack::indexChanged, this, &TForm1::BearbeitenZeigen);
    connect(stapel, &QUndoStack::canUndoChanged, this, &TForm1::BearbeitenZeigen);
    connect(stapel, &QUndoStack::canRedoChanged, this, &TForm1::BearbeitenZeigen);
    BearbeitenZeigen();

    // The modes on F2 to F6 in the order of the menu.
    QMenu *optionen = bar->addMenu(QStringLiteral("&Optionen"));
    Gleisbildentwerfen1 = MenuePunkt(optionen, "&Gleisbild entwerfen", "Gleisbildentwerfen1",
                                     &TForm1::Gleisbildentwerfen1Click, Qt::Key_F2);
    Dekoderadressen1 = MenuePunkt(optionen, "&Dekoderadressen", "Dekoderadressen1", &TForm1::Dekoderadressen1Click,
                                  Qt::Key_F3);
    Betrieb1 = MenuePunkt(optionen, "&Betrieb", "Betrieb1", &TForm1::Betrieb1Click, Qt::Key_F4);
    Fahrstrassen1 = MenuePunkt(optionen, "&Fahrstrassen", "Fahrstrassen1", &TForm1::Fahrstrassen1Click, Qt::Key_F5);
    Fahrstrassenbearbeiten1 = MenuePunkt(optionen, "Fahrstrassen b&earbeiten", "Fahrstrassenbearbeiten1",
                                         &TForm1::Fahrstrassenbearbeiten1Click, Qt::Key_F6);
    Softregler1 = MenuePunkt(optionen, "&Lokregler", "Softregler1", &TForm1::Softregler1Click);
    // "Fahrstrassen" only saves the plan and never carries a check mark.
    for (QAction *item : {Gleisbildentwerfen1, Dekoderadressen1, Betrieb1, Fahrstrassenbearbeiten1, Softregler1})
        item->setCheckable(true);

    QMenu *einstellungen = bar->addMenu(QStringLiteral("&Einstellungen"));
    IPAdresseHost1 = MenuePunkt(einstellungen, "&IP-Adresse Host", "IPAdresseHost1", &TForm1::IPAdresseHost1Click);
    SRCPVersion1 = MenuePunkt(einstellungen, "&SRCP Version", "SRCPVersion1", &TForm1::SRCPVersion1Click);

    QMenu *rueckmeldung = bar->addMenu(QStringLiteral("&Rückmeldung"));
    Abfragestarten1 = MenuePunkt(rueckmeldung, "Abfrage &starten", "Abfragestarten1", &TForm1::Abfragestarten1Click);
    Abfragebeenden1 = MenuePunkt(rueckmeldung, "Abfrage &beenden", "Abfragebeenden1", &TForm1::Abfragebeenden1Click);
    reset1 = MenuePunkt(rueckmeldung, "Rese&t", "reset1", &TForm1::reset1Click);

    QMenu *befehle = bar->addMenu(QStringLiteral("&Befehle"));
    Poweron1 = MenuePunkt(befehle, "Power o&n", "Poweron1", &TForm1::Poweron1Click);
    Poweroff1 = MenuePunkt(befehle, "Power o&ff", "Poweroff1", &TForm1::Poweroff1Click);
    DekoderProgrammierung1 = MenuePunkt(befehle, "Dekoder &Programmierung", "DekoderProgrammierung1", nullptr);
    freieBefehle1 = MenuePunkt(befehle, "freie &Befehle", "freieBefehle1", &TForm1::freieBefehle1Click);

    Bildschirm1 = bar->addMenu(QStringLiteral("Bild&schirm"));
    automatisch1 = MenuePunkt(Bildschirm1, "&automatisch", "automatisch1", &TForm1::automatisch1Click);
    N640mal480 = MenuePunkt(Bildschirm1, "&640x480", "N640mal480", &TForm1::N640mal480Click);
    N800mal600 = MenuePunkt(Bildschirm1, "&800x600", "N800mal600", &TForm1::N800mal600Click);
    N1024mal768 = MenuePunkt(Bildschirm1, "&1024x768", "N1024mal768", &TForm1::N1024mal768Click);
    for (QAction *item : {automatisch1, N640mal480, N800mal600, N1024mal768})
        item->setCheckable(true);
}

void TForm1::FormResize()
{
    const int CW = Client->width();
    const int CH = Client->height();
    const int SB = StatusBar1->height();
    const int PH = PaletteHoehe;

    // The view holds the plan enlarged by the zoom, or what of it fits.
    const Rollbereich waagrecht = Rollen(CW, 17, PlanBreite, Velmo->Faktor());
    const Rollbereich senkrecht = Rollen(CH - PH - 17 - SB, 0, PlanHoehe, Velmo->Faktor());
    HScrollBar->move(1, CH - 17 - SB);
    HScrollBar->resize(CW - 17, HScrollBar->height());
    VScrollBar->move(CW - 17, 1);
    VScrollBar->resize(VScrollBar->width(), std::max(0, CH - PH - 17));
    for (const auto &[bar, achse] : {std::pair {HScrollBar, waagrecht}, std::pair {VScrollBar, senkrecht}}) {
        if (achse.Noetig) {
            bar->setEnabled(true);
            bar->show();
            bar->setMaximum(achse.Maximum);
        }
        bar->setPageStep(achse.Seite);
    }
    Velmo->resize(waagrecht.Laenge, senkrecht.Laenge);
    Velmo->move(1, 1);

    const QRect regler = ReglerLage();
    if (TReglerPanel *panel = Regler_panel.Gebaut())
        panel->setGeometry(regler);
    Manage_panel->setGeometry(regler.right() + 1, regler.y(), std::max(0, CW - regler.width() - VScrollBar->width() - 5),
                              StreifenHoehe);
    if (QPlainTextEdit *protokoll = Memo1.Gebaut())
        protokoll->setGeometry(ProtokollLage(*protokoll));

    // The decoder panel places its own controls.
    if (TDekoderPanel *panel = Decod_Panel.Gebaut())
        panel->setGeometry(DekoderLage());

    Panel->move(1, CH - Panel->height() - HScrollBar->height() - SB);
    Hilfsbild1->move(Panel->width() + 5, Panel->y());

    ProgressBar1->resize(300, ProgressBar1->height());
    ProgressBar1->move(BildschirmBreite / 2 - 300 / 2, Velmo->height() + 5);
    Prozent_Label->move(BildschirmBreite / 2 - Prozent_Label->width() / 2,
                        ProgressBar1->height() + Velmo->height() + 5);
    Laden_Abbrechen->move(ProgressBar1->x() + ProgressBar1->width() + 8, ProgressBar1->y());

    StatusBar1->setGeometry(0, CH - SB, CW, SB);
}

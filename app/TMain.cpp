#include "app/TMain.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMediaPlayer>
#include <QMenuBar>
#include <QNetworkInformation>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/MenuTree.h"
#include "app/ProductLogo.h"
#include "app/ShellQueries.h"
#include "app/TPasswordDlg.h"
#include "app/TSplashForm.h"
#include "app/Tfrm_articoli_sottoscorta.h"
#include "app/Tfrm_ss.h"
#include "app/WindowFactories.h"
#include "core/Clock.h"
#include "core/InstanceLock.h"
#include "core/Paths.h"
#include "deadlines/DeadlineArchive.h"
#include "deadlines/Tfrm_scad.h"
#include "deadlines/Tfrm_scadenza.h"
#include "store/ArchiveCatalogue.h"
#include "registry/ReferenceData.h"
#include "store/DataStartup.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"

#ifndef ZELVARIN_VERSION
#define ZELVARIN_VERSION "0.0.0"
#endif

namespace zel {

// The main window's background picture, drawn under the menu pages.
class BackgroundImage : public QWidget {
public:
    explicit BackgroundImage(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Image2")); }
    void setPicture(const QPixmap& pm, bool proportional, bool stretch) {
        m_pm = pm;
        m_prop = proportional;
        m_stretch = stretch;
        update();
    }
    bool hasPicture() const { return !m_pm.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_pm.isNull()) return;
        QPainter p(this);
        if (!m_stretch) {
            p.drawPixmap(0, 0, m_pm);
            return;
        }
        const QPixmap scaled =
            m_pm.scaled(size(), m_prop ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled);
    }

private:
    QPixmap m_pm;
    bool m_prop = false;
    bool m_stretch = true;
};

namespace {


QString customKey(const char16_t* stem, int n) {
    return n == 1 ? QString::fromUtf16(stem) : QStringLiteral("%1 %2").arg(QString::fromUtf16(stem)).arg(n);
}

bool systemReportsOffline() {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) return false;
    const QNetworkInformation* info = QNetworkInformation::instance();
    return info && info->reachability() == QNetworkInformation::Reachability::Disconnected;
}

}  // namespace

TMain::TMain(QString baseFolder, QWidget* parent)
    : QMainWindow(parent),
      m_base(QDir(baseFolder).absolutePath()),
      m_settings(m_base),
      m_ctx{m_base, &m_settings, nullptr, &m_windows},
      m_windows(m_ctx, this),
      m_offline(systemReportsOffline) {
    setObjectName(QStringLiteral("TMain"));
    buildUi();
    connectCommands();
    registerWindowFactories(*this);
    qApp->installEventFilter(this);
    TrayNotice::instance().setEnabledCheck([this] { return m_settings.flag(u"System", u"Mostra Baloon Tips"); });
}

TMain::~TMain() {
    TrayNotice::instance().setIcon(nullptr);
    TrayNotice::instance().setEnabledCheck({});
    if (m_player) m_player->stop();
}

void TMain::setSetupFactory(SetupFactory factory) {
    m_setupFactory = std::move(factory);
    for (const QString& name : {QStringLiteral("mnu_setup"), QStringLiteral("mnu_tray_setup")}) {
        if (m_setupFactory) m_storeCommands.insert(name);
        else m_storeCommands.remove(name);
        if (QAction* a = command(name)) a->setEnabled(false);
    }
    enableStoreCommands();
}

void TMain::enableStoreCommands() {
    // The windows behind these commands work on the archives: not before the store exists.
    for (const QString& name : std::as_const(m_storeCommands))
        if (QAction* a = command(name)) a->setEnabled(m_store != nullptr);
}

// ---------------------------------------------------------------- building

void TMain::buildUi() {
    setWindowTitle(QStringLiteral("Zelvarin  - Gestione aziendale"));
    setMinimumSize(1024, 720);
    setMaximumSize(1280, 800);
    resize(1024, 720);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    Image2 = new BackgroundImage(this);
    setCentralWidget(Image2);
    auto* outer = new QVBoxLayout(Image2);
    auto* row = new QHBoxLayout;
    outer->addLayout(row, 1);

    auto* left = new QVBoxLayout;
    // The logo and version label sit where the settings put them, not in a layout.
    auto* pnl_logo = new QWidget(Image2);
    pnl_logo->setObjectName(QStringLiteral("pnl_logo"));
    // Tall enough for the version label in its lower place, under the default background.
    pnl_logo->setFixedSize(380, 400);
    rx = new QLabel(pnl_logo);
    rx->setObjectName(QStringLiteral("rx"));
    rx->setScaledContents(true);
    rx->setPixmap(productLogo(QSize(350, 150)));
    rx->setGeometry(10, 0, 350, 150);
    lbl_versione = new QLabel(QStringLiteral(ZELVARIN_VERSION), pnl_logo);
    lbl_versione->setObjectName(QStringLiteral("lbl_versione"));
    lbl_versione->move(10, 270);
    Image_temp = new QLabel(pnl_logo);
    Image_temp->setObjectName(QStringLiteral("Image_temp"));
    Image_temp->hide();
    left->addWidget(pnl_logo);
    left->addWidget(buildTotals());
    left->addStretch(1);
    row->addLayout(left);
    row->addWidget(buildPages(), 1);

    StatusBar2 = new QStatusBar(Image2);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar2->setSizeGripEnabled(false);
    const int widths2[2] = {650, 200};
    for (int i = 0; i < 2; ++i) {
        m_panels2[i] = new QLabel(StatusBar2);
        m_panels2[i]->setObjectName(QStringLiteral("StatusBar2_panel%1").arg(i + 1));
        m_panels2[i]->setFixedWidth(widths2[i]);
        StatusBar2->addWidget(m_panels2[i]);
    }
    StatusBar2->hide();
    outer->addWidget(StatusBar2);

    buildMenu();
    buildStatusBars();
    buildTray();
    buildTimers();
}

void TMain::buildMenu() {
    for (const MenuItemDef& d : menuTree()) {
        const QString name = d.name.toString();
        const QString caption = d.caption.toString();
        QMenu* holder = d.parent.isEmpty() ? nullptr : m_menus.value(d.parent.toString());
        if (d.kind == MenuKind::Menu) {
            QMenu* m = holder ? holder->addMenu(caption) : menuBar()->addMenu(caption);
            m->setObjectName(name);
            m_menus.insert(name, m);
            continue;
        }
        QAction* a = holder ? holder->addAction(caption) : menuBar()->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(d.kind == MenuKind::Toggle);
        a->setEnabled(false);
        m_commands.insert(name, a);
    }
    // Shown only when the barcode prints exist.
    command(QStringLiteral("mnu_stampa_listino_barcode"))->setVisible(false);
    command(QStringLiteral("mnu_stampa_etichette_barcode"))->setVisible(false);
    m_menus.value(QStringLiteral("mnu_applicazioni_esterne"))->menuAction()->setVisible(false);
}

QWidget* TMain::buildPages() {
    page_menu = new QTabWidget(Image2);
    page_menu->setObjectName(QStringLiteral("page_menu"));
    QHash<QString, QGridLayout*> grids;
    for (const QStringView page : menuPages()) {
        auto* w = new QWidget(page_menu);
        w->setObjectName(QStringLiteral("tab_") + page.toString().remove(QLatin1Char('.')).replace(QLatin1Char(' '), QLatin1Char('_')));
        auto* grid = new QGridLayout(w);
        grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        grids.insert(page.toString(), grid);
        page_menu->addTab(w, page.toString());
    }
    for (const ButtonDef& b : menuButtons()) {
        QGridLayout* grid = grids.value(b.page.toString());
        auto* btn = new QToolButton(grid->parentWidget());
        btn->setObjectName(b.name.toString());
        btn->setText(b.caption.toString());
        btn->setFixedSize(130, 90);
        btn->setProperty("zelButtonCommand", b.command.toString());
        const int n = grid->count();
        grid->addWidget(btn, n / 4, n % 4);
    }
    return page_menu;
}

QWidget* TMain::buildTotals() {
    pnl_totali = new QGroupBox(QStringLiteral("Totali archivi"), Image2);
    pnl_totali->setObjectName(QStringLiteral("pnl_totali"));
    auto* grid = new QGridLayout(pnl_totali);
    int r = 0;
    for (const TotalDef& t : totalsPanel()) {
        auto* caption = new QLabel(t.caption.toString(), pnl_totali);
        caption->setObjectName(t.label.toString());
        caption->setCursor(Qt::PointingHandCursor);
        caption->setProperty("zelCommand", t.command.toString());
        auto* count = new QLabel(QStringLiteral("0"), pnl_totali);
        count->setObjectName(t.counter.toString());
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(caption, r, 0);
        grid->addWidget(count, r, 1);
        ++r;
    }
    return pnl_totali;
}

void TMain::buildStatusBars() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[3] = {500, 150, 200};
    for (int i = 0; i < 3; ++i) {
        m_panels1[i] = new QLabel(StatusBar1);
        m_panels1[i]->setObjectName(QStringLiteral("StatusBar1_panel%1").arg(i + 1));
        m_panels1[i]->setFixedWidth(widths[i]);
        StatusBar1->addWidget(m_panels1[i]);
    }
    const auto light = [this](const char16_t* name, const QColor& colour, const QString& hint) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QString::fromUtf16(name));
        l->setPixmap(statusLight(colour));
        l->setToolTip(hint);
        StatusBar1->addPermanentWidget(l);
        return l;
    };
    img_alarm = light(u"img_alarm", QColor(0xe0, 0x40, 0x40), QStringLiteral("Allarme"));
    img_sottoscorta = light(u"img_sottoscorta", QColor(0xf0, 0xa0, 0x20), underStockHint(0));
    img_sottoscorta->hide();
    img_alert_contatti = light(u"img_alert_contatti", QColor(0x30, 0x90, 0xe0), QStringLiteral("Alert contatti"));
    img_news = light(u"img_news", QColor(0x60, 0xc0, 0x60), QStringLiteral("Novità"));
    img_news->hide();
    img_alert_scadenze =
        light(u"img_alert_scadenze", QColor(0xa0, 0x50, 0xd0), QStringLiteral("Alert scadenze"));
}

void TMain::buildTray() {
    TrayIcon1 = new QSystemTrayIcon(QIcon(productLogo(QSize(64, 64))), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    // A click on the day's deadline balloon opens those deadlines.
    connect(TrayIcon1, &QSystemTrayIcon::messageClicked, this, [this] {
        if (TrayIcon1->property("zelBalloon").toString() == u"scad") openDayDeadlines();
    });
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char16_t* name, const QString& caption) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(QString::fromUtf16(name));
        m_commands.insert(a->objectName(), a);
        return a;
    };
    connect(item(u"mnu_tray_riduci", QStringLiteral("Riduci a icona")), &QAction::triggered, this,
            &TMain::mnu_tray_riduciClick);
    connect(item(u"mnu_tray_chiudi", QStringLiteral("Chiudi Zelvarin")), &QAction::triggered, this,
            &TMain::mnu_esciClick);
    QAction* setup = item(u"mnu_tray_setup", QStringLiteral("Setup Programma"));
    setup->setEnabled(false);
    connect(setup, &QAction::triggered, this, &TMain::mnu_setupClick);
    connect(item(u"mnu_tray_about", QStringLiteral("About")), &QAction::triggered, this,
            &TMain::mnu_informazioniClick);
    TrayIcon1->setContextMenu(PopupMenu1);
    // A click on a balloon opens the contacts browser, which does not exist yet.
    TrayNotice::instance().setIcon(TrayIcon1);
}

void TMain::buildTimers() {
    const auto timer = [this](const char16_t* name, int ms, void (TMain::*slot)()) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromUtf16(name));
        t->setInterval(ms);
        connect(t, &QTimer::timeout, this, slot);
        return t;
    };
    // The news source does not exist, so this timer never runs.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer_scad = timer(u"Timer_scad", 3600000, &TMain::Timer_scadTimer);
    Timer_contatti = timer(u"Timer_contatti", 1800000, &TMain::Timer_contattiTimer);
    Timer_temp = timer(u"Timer_temp", 20000, &TMain::Timer_tempTimer);
    Timer2 = timer(u"Timer2", 1000, &TMain::Timer2Timer);
    Timer_chk_mem = timer(u"Timer_chk_mem", 1000, &TMain::Timer_chk_memTimer);
    Timer_background_music = timer(u"Timer_background_music", 1000, &TMain::Timer_background_musicTimer);
}

void TMain::setCommandAction(const QString& name, std::function<void()> f) {
    QAction* a = command(name);
    if (!a) return;
    m_storeCommands.insert(name);
    a->setEnabled(m_store != nullptr);
    connect(a, &QAction::triggered, this, [this, f = std::move(f)] {
        if (m_store) f();
    });
}

void TMain::setCommand(const QString& name, void (TMain::*handler)()) {
    QAction* a = command(name);
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, handler);
}

void TMain::connectCommands() {
    setCommand(QStringLiteral("mnu_esci"), &TMain::mnu_esciClick);
    setCommand(QStringLiteral("mnu_sottoscorta"), &TMain::mnu_sottoscortaClick);
    setCommand(QStringLiteral("mnu_backup_locale"), &TMain::mnu_backup_localeClick);
    setCommand(QStringLiteral("mnu_alert_scadenze"), &TMain::mnu_alert_scadenzeClick);
    setCommand(QStringLiteral("mnu_alert_contatti"), &TMain::mnu_alert_contattiClick);
    setCommand(QStringLiteral("mnu_informazioni"), &TMain::mnu_informazioniClick);
    connect(command(QStringLiteral("mnu_setup")), &QAction::triggered, this, &TMain::mnu_setupClick);
    for (int n = 1; n <= 5; ++n)
        connect(command(QStringLiteral("mnu_custom_app%1").arg(n)), &QAction::triggered, this,
                [this, n] { mnu_custom_appClick(n); });

    // Buttons follow their command, so a disabled command has a disabled button.
    for (QToolButton* b : findChildren<QToolButton*>()) {
        QAction* a = command(b->property("zelButtonCommand").toString());
        if (!a) continue;
        b->setEnabled(a->isEnabled());
        connect(a, &QAction::changed, b, [a, b] { b->setEnabled(a->isEnabled()); });
        connect(b, &QToolButton::clicked, a, &QAction::trigger);
    }
}

// ---------------------------------------------------------------- start-up

void TMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_shown) return;
    m_shown = true;
    // After the window is on screen, so that the splash and the boxes have their owner.
    QTimer::singleShot(0, this, &TMain::FormShow);
}

void TMain::FormShow() {
    runStartup();
    if (!m_store && m_startup) m_store = m_startup->takeStore();
    m_ctx.store = m_store.get();
    m_startup.reset();
    enableStoreCommands();
    if (TSplashForm* splash = m_windows.existing<TSplashForm>()) {
        splash->setActive(false);
        splash->hide();
    }
    m_startupDone = true;
    Q_EMIT startupFinished();
}

bool TMain::runStartup() {
    Dialogs& dlg = Dialogs::instance();
    TSplashForm& splash = window<TSplashForm>();
    connect(&splash, &TSplashForm::abortRequested, this, &TMain::terminate, Qt::UniqueConnection);
    const auto carryOn = [this] {
        QCoreApplication::processEvents();
        return !m_terminated;
    };

    // 1: the support mail account has no server in this program.
    splash.setActive(true);
    splash.showBar(true);
    splash.show();
    splash.progress(40);
    splash.progress(41);
    // 2
    if (const QScreen* s = screen()) {
        const QRect g = s->geometry();
        if (g.width() < 1280 || g.height() < 720)
            dlg.warning(QString(), QStringLiteral("La risoluzione video deve essere almeno 1280x720 per utilizzare "
                                                  "Zelvarin."),
                        this);
    }
    // 3: no seasonal logo server; the built-in logo stays.
    splash.progress(42);
    // 4
    TrayIcon1->setToolTip(QStringLiteral("Zelvarin ") + lbl_versione->text());
    TrayIcon1->show();
    splash.progress(43);
    if (!carryOn()) return false;

    m_startup = std::make_unique<DataStartup>(m_base, m_settings, dlg);
    m_startup->installReferenceTables = installReferenceTables;
    // One instance per base folder, held until the window goes.
    if (!m_startup->lockBase()) {
        terminate();
        return false;
    }
    m_lock = m_startup->takeLock();
    m_startup->onProgress = [&splash](const QString& phase, int n) {
        if (!phase.isEmpty()) splash.setPhase(phase);
        splash.progress(n);
        QCoreApplication::processEvents();
    };
    // 5
    if (!m_startup->ensureFolders()) return false;
    // 6
    m_startup->loadSettings();
    applySettings();
    if (!carryOn()) return false;
    // 7: no remote archive area.
    // 8
    if (!m_startup->createArchives()) return false;
    m_ctx.store = m_startup->store();
    // 9
    splash.progress(91);
    splash.progress(92);
    const QString riga1 = m_settings.text(u"Utente", u"riga 1");
    if (!riga1.isEmpty()) m_settings.setValue(u"Email", u"User Nome", riga1);
    // 10: the partner picture has no source.
    m_startup->ensurePartnerFile();
    m_startup->installReferenceData();
    // 11 and 12: the invoice print set-up arrives with the invoice print; tips are not kept.
    m_startup->setQuotePathDefaults();
    splash.progress(94);
    if (!carryOn()) return false;
    // 13 to 18
    m_startup->prepareWorkingTables();
    m_startup->fillMissingPaths();
    m_startup->upgradeColumns();
    m_startup->repairWarehouse();
    m_startup->loadCurrencies();
    m_currencies = m_startup->currencies();
    m_startup->renumberArchives();
    m_store = m_startup->takeStore();
    m_ctx.store = m_store.get();
    enableStoreCommands();
    if (!carryOn()) return false;
    // 19: there is no version check to run when online.
    splash.progress(99);
    if (m_offline && m_offline())
        dlg.warning(QString(), QStringLiteral("Zelvarin non è connesso ad internet. Le funzionalità saranno ridotte."),
                    this);
    // 20
    splash.showBar(false);
    splash.hide();
    // 21
    if (m_settings.flag(u"System", u"Richiesta Password")) {
        m_panels1[2]->setText(m_panels1[2]->text() + QStringLiteral("Password "));
        if (!window<TPasswordDlg>().ask(m_settings.text(u"System", u"Password"))) {
            terminate();
            return false;
        }
    }
    // 22
    if (m_settings.flag(u"System", u"Backup dati avvio") && m_settings.integer(u"System", u"Tipo di backup") == 0)
        runLocalBackup();
    // 23
    splash.progress(100);
    if (m_settings.flag(u"Magazzino", u"Controllo articoli sottoscorta")) checkUnderStock(false);
    // 24, 25
    showMonthDeadlines();
    applyReportLetterhead();
    // 26
    loadBackground();
    // 27: the tips of the day are not kept.
    // 28
    command(QStringLiteral("mnu_dbutils"))->setVisible(QFileInfo::exists(QDir(m_base).filePath(QStringLiteral("DTUTIL32.exe"))));
    command(QStringLiteral("mnu_lettore"))->setVisible(QFileInfo::exists(QDir(m_base).filePath(QStringLiteral("myplayer.exe"))));
    // 29: no module window with a logo exists yet. 30: no news source.
    // 31
    Timer_temp->start();
    splash.setActive(false);
    splash.close();
    // 32
    startBackgroundMusic();
    // 33
    m_startup->writeMainSettingsIfMissing();
    m_startup->reportDamaged();
    // 34
    Timer2->start();
    if (m_settings.flag(u"System", u"Monitoraggio risorse memoria")) Timer_chk_mem->start();
    page_menu->setCurrentIndex(0);
    m_startTime = Clock::now();
    m_lastInput.start();
    refreshTotals();
    return true;
}

void TMain::showMonthDeadlines() {
    if (!m_store || !m_settings.flag(u"System", u"Visualizza scadenze")) return;
    const QDate today = Clock::today();
    QList<qint64> rows;
    try {
        rows = DeadlineArchive::fromSettings(*m_store, m_settings)
                   .unpaidBetween(QDate(today.year(), today.month(), 1),
                                  QDate(today.year(), today.month(), today.daysInMonth()));
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
    if (!rows.isEmpty()) {
        const QString n = QString::number(rows.size());
        if (Dialogs::instance().show(MsgIcon::Warning, QStringLiteral("Promemoria Scadenze in corso"),
                                     QStringLiteral("Ci sono ") + n + QStringLiteral(" scadenze non pagate nel mese corrente!") +
                                         QStringLiteral("\n\r") + QStringLiteral("Vuoi vederle?") + QStringLiteral("\n\r") +
                                         QStringLiteral("SI per vederle, NO per ignorarle e proseguire"),
                                     int(DlgButton::Yes) | int(DlgButton::No), DlgButton::Yes, this) == DlgButton::Yes) {
            TrayNotice::instance().show(QStringLiteral("Zelvarin: Scadenze in corso"),
                                        QStringLiteral("Sono presenti ") + n +
                                            QStringLiteral(" scadenze in corso non pagate.") + QStringLiteral("\r\n") +
                                            QStringLiteral(" Le date in rosso si riferiscono alle scadenze \"scadute\""),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
            openDeadlines(rows, QStringLiteral("Scadenze in corso nel mese corrente"));
        }
    }
    m_panels1[2]->setText(m_panels1[2]->text() + QStringLiteral("Scadenze "));
}

void TMain::openDeadlines(const QList<qint64>& rowids, const QString& caption) {
    Tfrm_scad& w = window<Tfrm_scad>();
    w.openCard = [this](const QList<qint64>& list, int index) {
        Tfrm_scadenza& card = window<Tfrm_scadenza>();
        card.showList(list, index);
        card.exec();
    };
    w.showSelection(rowids, caption);
    w.exec();
}

void TMain::openDayDeadlines() {
    if (!m_store) return;
    const QDate today = Clock::today();
    try {
        openDeadlines(DeadlineArchive::fromSettings(*m_store, m_settings).unpaidBetween(today, today),
                      QStringLiteral("Scadenze del giorno"));
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Scadenze"), e.message(), this);
    }
}

void TMain::applyReportLetterhead() {
    // The letterhead lines reach the registry list and deadline reports once those reports exist.
}

void TMain::loadBackground() {
    QPixmap pm;
    const QString img = m_settings.text(u"MAIN", u"Sfondo img");
    if (!img.isEmpty() && QFileInfo::exists(resolvePath(img)) && !pm.load(resolvePath(img))) Dialogs::instance().beep();
    if (m_settings.flag(u"System", u"Sfondo predefinito")) {
        pm = QPixmap();
        const QString def = QDir(m_base).filePath(QStringLiteral("sfondi/zelvarin.jpg"));
        if (QFileInfo::exists(def)) {
            rx->hide();
            lbl_versione->move(lbl_versione->x(), 375);
            if (!pm.load(def)) {
                rx->show();
                lbl_versione->move(lbl_versione->x(), 270);
            }
        }
    } else {
        rx->show();
    }
    // No default picture can be downloaded; an empty background stays empty.
    Image2->setPicture(pm, m_settings.text(u"MAIN", u"Sfondo prop") == u"SI",
                       m_settings.text(u"MAIN", u"Sfondo stretch") == u"SI");
}

void TMain::applySettings() {
    command(QStringLiteral("mnu_scorre_fatture1"))->setText(m_settings.text(u"Path", u"Nome Archivio fatture 1"));
    command(QStringLiteral("mnu_scorre_fatture2"))->setText(m_settings.text(u"Path", u"Nome Archivio fatture 2"));
    bool anyApp = false;
    for (int n = 1; n <= 5; ++n) {
        const QString name = m_settings.text(u"Path", customKey(u"Custom application name", n));
        const QString file = m_settings.text(u"Path", customKey(u"Custom application file", n));
        const bool on = !name.trimmed().isEmpty() && !file.trimmed().isEmpty() && QFileInfo::exists(resolvePath(file));
        QAction* a = command(QStringLiteral("mnu_custom_app%1").arg(n));
        a->setText(name);
        a->setVisible(on);
        a->setEnabled(on);
        anyApp = anyApp || on;
    }
    m_menus.value(QStringLiteral("mnu_applicazioni_esterne"))->menuAction()->setVisible(anyApp);

    rx->setGeometry(m_settings.integer(u"System", u"Posizione sinistra logo"),
                    m_settings.integer(u"System", u"Posizione superiore logo"),
                    qMax(1, m_settings.integer(u"System", u"Larghezza logo")),
                    qMax(1, m_settings.integer(u"System", u"Altezza logo")));

    const bool scad = m_settings.flag(u"System", u"Show alert scad");
    Timer_scad->setInterval(deadlineAlertInterval(m_settings.integer(u"System", u"Scad alert frequency")));
    scad ? Timer_scad->start() : Timer_scad->stop();
    command(QStringLiteral("mnu_alert_scadenze"))->setChecked(scad);
    img_alert_scadenze->setVisible(scad);
    const bool contatti = m_settings.flag(u"System", u"Show alert contatti");
    Timer_contatti->setInterval(contactAlertInterval(m_settings.integer(u"System", u"Contatti alert frequency")));
    contatti ? Timer_contatti->start() : Timer_contatti->stop();
    command(QStringLiteral("mnu_alert_contatti"))->setChecked(contatti);
    img_alert_contatti->setVisible(contatti);
    img_alarm->setVisible(m_settings.flag(u"Appuntamento ", u"attivo"));

    pnl_totali->setVisible(m_settings.flag(u"Totali in Main", u"Visualizza pannello"));
    for (const TotalDef& t : totalsPanel()) {
        const bool on = m_settings.flag(u"Totali in Main", t.showKey);
        if (auto* l = pnl_totali->findChild<QLabel*>(t.label.toString())) l->setVisible(on);
        if (auto* l = pnl_totali->findChild<QLabel*>(t.counter.toString())) l->setVisible(on);
    }
    if (m_startupDone) {
        m_settings.flag(u"System", u"Monitoraggio risorse memoria") ? Timer_chk_mem->start() : Timer_chk_mem->stop();
        refreshTotals();
    }
}

void TMain::refreshTotals() {
    if (!m_store) return;
    for (const TotalDef& t : totalsPanel())
        if (auto* l = pnl_totali->findChild<QLabel*>(t.counter.toString()))
            l->setText(QString::number(recordCount(*m_store, m_settings.text(u"Path", t.pathKey))));
}

QStringList TMain::statusPanels() const {
    return {m_panels1[0]->text(), m_panels1[1]->text(), m_panels1[2]->text()};
}

QString TMain::totalText(const QString& counter) const {
    const auto* l = pnl_totali->findChild<QLabel*>(counter);
    return l ? l->text() : QString();
}

void TMain::terminate() {
    m_terminated = true;
    close();
}

void TMain::closeEvent(QCloseEvent* e) {
    for (QTimer* t : findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) t->stop();
    if (m_player) m_player->stop();
    if (TSplashForm* splash = m_windows.existing<TSplashForm>()) splash->hide();
    TrayIcon1->hide();
    e->accept();
}

// ---------------------------------------------------------------- commands

void TMain::checkUnderStock(bool fromMenu) {
    if (!m_store) return;
    QList<QVariantList> rows;
    try {
        rows = underStockArticles(*m_store, m_settings);
    } catch (const StoreError& e) {
        Dialogs::instance().error(QString(), QStringLiteral("Errore ") + e.message(), this);
        return;
    }
    img_sottoscorta->setToolTip(underStockHint(rows.size()));
    if (!rows.isEmpty()) {
        auto& w = window<Tfrm_articoli_sottoscorta>();
        w.setRows(rows);
        img_sottoscorta->show();
        w.exec();
        return;
    }
    img_sottoscorta->hide();
    if (fromMenu) Dialogs::instance().info(QStringLiteral("Zelvarin"), underStockHint(0), this);
}

BackupOutcome TMain::runLocalBackup() {
    LocalBackup backup(m_base, m_settings, m_store.get());
    BackupOutcome out;
    try {
        out = backup.run(Clock::now());
    } catch (const StoreError& e) {
        Dialogs::instance().error(QString(), QStringLiteral("Errore ") + e.message(), this);
        return out;
    }
    if (out.folderMissing) {
        Dialogs::instance().error(QString(), LocalBackup::folderMessage(out.folder), this);
    } else if (!out.failed.isEmpty()) {
        QStringList names;
        for (const QString& f : std::as_const(out.failed)) names << QDir::toNativeSeparators(f);
        Dialogs::instance().error(QStringLiteral("Backup dati"),
                                  QStringLiteral("Backup non riuscito nella cartella %1: le copie precedenti sono "
                                                 "rimaste come erano.\r\nFile non copiati:\r\n")
                                          .arg(QDir::toNativeSeparators(out.folder)) +
                                      names.join(QStringLiteral("\r\n")),
                                  this);
    } else {
        TrayNotice::instance().show(QStringLiteral("Backup dati"), LocalBackup::noticeText(out.folder),
                                    TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
    }
    m_panels2[0]->setText(LocalBackup::statusText(out));
    m_panels2[1]->setText(QStringLiteral("File copiati: %1").arg(out.copied.size()));
    StatusBar2->show();
    return out;
}

void TMain::openSetup() {
    if (!m_setupFactory) return;
    if (!m_setup) m_setup = m_setupFactory(m_ctx, this);
    if (!m_setup) return;
    if (m_setup->exec() == QDialog::Accepted) applySettings();
}

void TMain::mnu_esciClick() { close(); }
void TMain::mnu_sottoscortaClick() { checkUnderStock(true); }
void TMain::img_sottoscortaClick() { checkUnderStock(false); }
void TMain::mnu_backup_localeClick() { runLocalBackup(); }
void TMain::mnu_setupClick() { openSetup(); }

void TMain::mnu_alert_scadenzeClick() {
    // A live change: it is written when the setup is confirmed.
    m_settings.setValue(u"System", u"Show alert scad", !m_settings.flag(u"System", u"Show alert scad"));
    applySettings();
}

void TMain::mnu_alert_contattiClick() {
    m_settings.setValue(u"System", u"Show alert contatti", !m_settings.flag(u"System", u"Show alert contatti"));
    applySettings();
}

void TMain::mnu_informazioniClick() {
    TSplashForm& about = window<TSplashForm>();
    about.setActive(false);
    about.setTag(2);
    about.showBar(false);
    about.exec();
    about.setTag(0);
}

void TMain::mnu_custom_appClick(int n) {
    const QString file = resolvePath(m_settings.text(u"Path", customKey(u"Custom application file", n)));
    if (!QProcess::startDetached(file, {}, QFileInfo(file).absolutePath())) Dialogs::instance().beep();
}

void TMain::mnu_tray_riduciClick() { isVisible() ? hide() : show(); }

// ---------------------------------------------------------------- timers

void TMain::Timer_scadTimer() {
    if (!m_store) return;
    try {
        const QList<DeadlineAlert> rows = unpaidDeadlinesOn(*m_store, m_settings, Clock::today());
        if (!rows.isEmpty()) {
            if (TrayIcon1) TrayIcon1->setProperty("zelBalloon", QStringLiteral("scad"));
            TrayNotice::instance().show(QStringLiteral("Zelvarin: Scadenze del giorno"), deadlineAlertText(rows),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Extra);
        }
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
}

void TMain::Timer_contattiTimer() {
    if (!m_store) return;
    try {
        const QList<ContactAlert> rows = callBacksOn(*m_store, m_settings, Clock::today());
        if (!rows.isEmpty()) {
            if (TrayIcon1) TrayIcon1->setProperty("zelBalloon", QStringLiteral("contatti"));
            TrayNotice::instance().show(QStringLiteral("Zelvarin: Contatti da richiamare oggi"), contactAlertText(rows),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Extra);
        }
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
}

void TMain::Timer_tempTimer() {
    Image_temp->hide();
    Timer_temp->stop();
}

void TMain::Timer2Timer() {
    if (!m_settings.flag(u"Screen Saver", u"Abilitato")) return;
    const qint64 idle = m_lastInput.isValid() ? m_lastInput.elapsed() / 1000 : 0;
    m_panels1[1]->setText(QStringLiteral("Screen Saver ") + QStringLiteral("ON"));
    // An exact match: the screen saver starts in the one second the idle time equals the setting.
    if (QString::number(idle) != QString::number(m_settings.number(u"Screen Saver", u"idle time"))) return;
    Timer2->stop();
    Tfrm_ss& ss = window<Tfrm_ss>();
    ss.setLogo(rx->pixmap());
    ss.exec();
    m_lastInput.restart();
    Timer2->start();
}

void TMain::Timer_chk_memTimer() {
    const qint64 available = availableMemoryKb();
    if (available < 0 || m_settings.integer(u"System", u"Limite monitoraggio memoria") <= available) return;
    Timer_chk_mem->stop();
    const DlgButton b = Dialogs::instance().show(MsgIcon::Warning, QStringLiteral("Memoria RAM"),
                                                 QStringLiteral("Memoria Virtuale insufficiente!"),
                                                 int(DlgButton::Ok) | int(DlgButton::Cancel), DlgButton::Ok, this);
    if (b == DlgButton::Ok) Timer_chk_mem->start();
}

// ---------------------------------------------------------------- music

void TMain::startBackgroundMusic() {
    const ArchiveDef* def = findArchive(u"music_list.msl");
    if (!m_store || !def) return;
    const QString path = archiveLocation(m_base, *def, Clock::yearSuffix());
    if (!Store::exists(path)) return;
    m_playlist.clear();
    try {
        for (const QVariantList& r :
             m_store->rows(QStringLiteral("SELECT des FROM %1 ORDER BY rowid").arg(m_store->table(path))))
            m_playlist << r.value(0).toString().trimmed();
    } catch (const StoreError&) {
        Dialogs::instance().beep();
        return;
    }
    if (m_playlist.isEmpty() || m_playlist.first().isEmpty()) return;
    playTrack(0);
}

void TMain::playTrack(int index) {
    if (index < 0 || index >= m_playlist.size()) return;
    m_track = index;
    const QString file = resolvePath(m_playlist[index]);
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        Dialogs::instance().beep();
        return;
    }
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        m_audio = new QAudioOutput(this);
        m_player->setAudioOutput(m_audio);
        connect(m_player, &QMediaPlayer::errorOccurred, this, [] { Dialogs::instance().beep(); });
    }
    m_player->setSource(QUrl::fromLocalFile(file));
    m_player->play();
    const QString name = QFileInfo(file).fileName();
    TrayNotice::instance().show(QStringLiteral("Zelvarin Media Player"), name, TrayNotice::kStandardSeconds,
                                TrayNotice::Kind::Info);
    m_musicHint = QStringLiteral("Musica di sottofondo attivata: per mettere in pausa premere i tasti Ctrl-S, per "
                                 "riavviare la riproduzione premere i tasti Ctrl-P, Ctrl-N= successivo, Ctrl-R= "
                                 "precedente") +
                  QStringLiteral("    ") + name;
    m_panels1[0]->setText(m_musicHint);
    Timer_background_music->start();
}

void TMain::Timer_background_musicTimer() {
    if (!m_player) return;
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia && m_track + 1 < m_playlist.size()) playTrack(m_track + 1);
    if (m_musicHint.size() > 1) {
        m_musicHint = m_musicHint.mid(1) + m_musicHint.left(1);
        m_panels1[0]->setText(m_musicHint);
    }
}

// ---------------------------------------------------------------- keys and clicks

bool TMain::FormKeyDown(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) return true;  // the video-help page has no address in this program
    if (!m_player || !(e->modifiers() & Qt::ControlModifier)) return false;
    switch (e->key()) {
        case Qt::Key_S: m_player->pause(); return true;
        case Qt::Key_P: m_player->play(); return true;
        case Qt::Key_N: playTrack((m_track + 1) % qMax<qsizetype>(1, m_playlist.size())); return true;
        case Qt::Key_R: playTrack(m_track > 0 ? m_track - 1 : int(m_playlist.size()) - 1); return true;
        default: return false;
    }
}

bool TMain::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress: {
            m_lastInput.restart();
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == this && FormKeyDown(static_cast<QKeyEvent*>(e))) return true;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel: m_lastInput.restart(); break;
        case QEvent::MouseButtonRelease: {
            m_lastInput.restart();
            if (watched == img_sottoscorta) {
                img_sottoscortaClick();
                return true;
            }
            if (watched == img_alarm) return true;  // the reminder window does not exist yet
            if (watched == img_alert_scadenze) {
                openDayDeadlines();
                return true;
            }
            const QString name = watched->property("zelCommand").toString();
            if (!name.isEmpty()) {
                if (QAction* a = command(name); a && a->isEnabled()) a->trigger();
                return true;
            }
            break;
        }
        default: break;
    }
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace zel

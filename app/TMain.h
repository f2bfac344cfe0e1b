#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <functional>
#include <memory>

#include "app/LocalBackup.h"
#include "settings/Settings.h"
#include "ui/AppContext.h"

class QAction;
class QAudioOutput;
class QDialog;
class QLabel;
class QMediaPlayer;
class QMenu;
class QStatusBar;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;

namespace zel {

class BackgroundImage;
class DataStartup;
class InstanceLock;
class Store;

// The main window: menu, big buttons, totals, status bars, tray icon and timers.
// Its first showing runs the start-up sequence.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TMain(QString baseFolder, QWidget* parent = nullptr);
    ~TMain() override;

    using SetupFactory = std::function<QDialog*(AppContext&, QWidget* parent)>;
    // The setup window; its command stays disabled until a factory is given.
    void setSetupFactory(SetupFactory factory);
    // Enables a menu command (and its buttons) and runs f when it is chosen; for the
    // windows of the other folders.
    void setCommandAction(const QString& name, std::function<void()> f);

    template <class T>
    T& window() {
        return m_windows.window<T>();
    }

    AppContext& context() { return m_ctx; }
    Settings& settings() { return m_settings; }
    Store* store() const { return m_store.get(); }
    QString baseFolder() const { return m_base; }

    bool startupDone() const { return m_startupDone; }
    // The program was ended (password refused, splash aborted).
    bool terminated() const { return m_terminated; }

    // Whether the system positively reports that there is no network. Replaceable for tests.
    void setOfflineCheck(std::function<bool()> check) { m_offline = std::move(check); }

    QAction* command(const QString& name) const { return m_commands.value(name); }
    QStringList statusPanels() const;
    QString totalText(const QString& counter) const;

    // Puts the live settings into the windows: captions, timers, lights, panels.
    void applySettings();
    void checkUnderStock(bool fromMenu);
    BackupOutcome runLocalBackup();
    void refreshTotals();
    void openSetup();

Q_SIGNALS:
    void startupFinished();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildUi();
    void buildMenu();
    QWidget* buildPages();
    QWidget* buildTotals();
    void buildStatusBars();
    void buildTray();
    void buildTimers();
    void connectCommands();
    void setCommand(const QString& name, void (TMain::*handler)());
    void enableStoreCommands();

    void FormShow();
    bool runStartup();
    void showMonthDeadlines();
    // The deadline browser on a selection (the month's or the day's unpaid deadlines).
    void openDeadlines(const QList<qint64>& rowids, const QString& caption);
    void openDayDeadlines();
    void applyReportLetterhead();
    void loadBackground();
    void startBackgroundMusic();
    void terminate();
    bool FormKeyDown(QKeyEvent* e);

    // Menu and button handlers.
    void mnu_esciClick();
    void mnu_sottoscortaClick();
    void mnu_backup_localeClick();
    void mnu_alert_scadenzeClick();
    void mnu_alert_contattiClick();
    void mnu_informazioniClick();
    void mnu_setupClick();
    void mnu_custom_appClick(int n);
    void mnu_tray_riduciClick();
    void img_sottoscortaClick();

    // Timers.
    void Timer_scadTimer();
    void Timer_contattiTimer();
    void Timer_tempTimer();
    void Timer2Timer();
    void Timer_chk_memTimer();
    void Timer_background_musicTimer();

    void playTrack(int index);

    QString m_base;
    Settings m_settings;
    std::unique_ptr<InstanceLock> m_lock;  // released after the store is closed
    std::unique_ptr<Store> m_store;
    std::unique_ptr<DataStartup> m_startup;
    QSet<QString> m_storeCommands;  // enabled only while the store exists
    AppContext m_ctx;
    WindowHost m_windows;
    SetupFactory m_setupFactory;
    QPointer<QDialog> m_setup;
    std::function<bool()> m_offline;

    QHash<QString, QAction*> m_commands;
    QHash<QString, QMenu*> m_menus;
    QStringList m_currencies;

    BackgroundImage* Image2 = nullptr;
    QLabel* rx = nullptr;
    QLabel* lbl_versione = nullptr;
    QLabel* Image_temp = nullptr;
    QTabWidget* page_menu = nullptr;
    QWidget* pnl_totali = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_panels1[3] = {nullptr, nullptr, nullptr};
    QStatusBar* StatusBar2 = nullptr;
    QLabel* m_panels2[2] = {nullptr, nullptr};
    QLabel* img_alarm = nullptr;
    QLabel* img_sottoscorta = nullptr;
    QLabel* img_alert_contatti = nullptr;
    QLabel* img_news = nullptr;
    QLabel* img_alert_scadenze = nullptr;
    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QTimer* Timer1 = nullptr;
    QTimer* Timer_scad = nullptr;
    QTimer* Timer_contatti = nullptr;
    QTimer* Timer_temp = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer_chk_mem = nullptr;
    QTimer* Timer_background_music = nullptr;

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QStringList m_playlist;
    int m_track = -1;
    QString m_musicHint;

    QElapsedTimer m_lastInput;
    QDateTime m_startTime;
    bool m_shown = false;
    bool m_startupDone = false;
    bool m_terminated = false;
};

}  // namespace zel

#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

#include "ddt/DdtLine.h"
#include "ddt/DdtPrintOptions.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace zel {

class DateEdit;
class DdtDraft;
struct DdtPrintData;
class Tfrm_cerca;

// "Inserimento nuovo DDT": a delivery note written in three steps — lines, closing and
// registration, print. The lines wait in the temporary table until registration.
class Tfrm_ddtnew : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Warehouse, Orders };

    Tfrm_ddtnew(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_ddtnew() override;

    // Seams the program fills with the real windows and tests replace.
    std::function<void(Tfrm_cerca&)> runSearch;
    // The article card on a new article with code, description and sale price.
    std::function<void(const QString& code, const QString& des, double price)> runArticleCard;
    // The customer card, to type a new customer.
    std::function<void()> runCustomerCard;
    // Shows the print of the registered DDT (the preview).
    std::function<void(const DdtPrintData&, const DdtPrintOptions&)> showPrint;

    // The menu entries: resets the window and fills the recipients. False, with the
    // warning shown, when the order mode finds no customer order.
    bool prepare(Mode mode);
    Mode mode() const { return m_mode; }

    // Handlers, public so that callers and tests drive them as the buttons do.
    void BTN_NUOVOClick();
    void numDDTExit();
    void cmb_cod_cliSelect();
    void cmb_cod_articoloSelect();
    void cmb_des_articoloSelect();
    void btn_confermaClick();
    void grid_righeClick(int row);
    void btn_deleteClick();
    void btn_terminaClick();
    void btn_registra_ddtClick();
    void btn_go_printClick();
    void BtnStampaClick();
    // The print options as the print page holds them.
    DdtPrintOptions printOptions() const;
    void btn_restartClick();
    void btn_esciClick();
    void lst_ordiniClick(int row);

    int registeredOk() const { return m_ok; }
    int registeredFailed() const { return m_failed; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildUi();
    QWidget* buildTop();
    QWidget* buildLinesPage();
    QWidget* buildClosingPage();
    QWidget* buildPrintPage();
    void reset();
    void applyClosingDefaults();
    void fillRecipients();
    void fillArticles();
    void fillAgents();
    void fillLookups();
    void clearLineFields();
    void selectArticle(bool byCode);
    void showStock();
    void updatePrices();
    void refreshLines(qint64 currentRowid = 0);
    void showTotals();
    void setPhase(const QString& text);
    void setStepsEnabled(bool enabled);
    void openArticleSearch(int page);
    void openRecipientSearch(bool byName);
    void recipientTyped();
    void moveTo(int row);
    DdtLine lineFromFields() const;
    void showLine(const DdtLine& line);
    double number(const QString& name) const;
    QString warehousePath() const;
    QString path(const char16_t* key) const;
    Tfrm_cerca& searchDialog();
    DdtDraft& draft();
    qint64 lastNumber() const;

    AppContext& m_ctx;
    Mode m_mode = Mode::Warehouse;
    std::unique_ptr<Tfrm_cerca> m_ownSearch;
    std::unique_ptr<DdtDraft> m_draft;
    QHash<QString, QLineEdit*> m_edits;
    QTabWidget* m_steps = nullptr;
    QLabel* m_phase = nullptr;
    QLabel* m_help = nullptr;
    QLabel* m_lamp = nullptr;
    QLineEdit* m_number = nullptr;
    DateEdit* m_date = nullptr;
    QComboBox* m_recipient = nullptr;
    QLineEdit* m_recipientName = nullptr;
    QProgressBar* m_listino = nullptr;
    QComboBox* m_agent = nullptr;
    QPushButton* m_newCustomer = nullptr;
    QComboBox* m_fatt = nullptr;
    QComboBox* m_articleCode = nullptr;
    QComboBox* m_articleDes = nullptr;
    QComboBox* m_place = nullptr;
    QLabel* m_stockLabels[4] = {};
    QLabel* m_indicator = nullptr;
    QLabel* m_picture = nullptr;
    QListWidget* m_orders = nullptr;
    QSpinBox* m_discount = nullptr;
    QComboBox* m_vat = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_flag = nullptr;
    DateEdit* m_orderDate = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QWidget* m_processing = nullptr;
    QPushButton* m_confirm = nullptr;
    QTableWidget* m_grid = nullptr;
    QComboBox* m_causale = nullptr;
    QComboBox* m_aspetto = nullptr;
    QComboBox* m_porto = nullptr;
    QComboBox* m_trasporto = nullptr;
    QLineEdit* m_contrass = nullptr;
    QComboBox* m_note1 = nullptr;
    QComboBox* m_note2 = nullptr;
    QComboBox* m_note3 = nullptr;
    QWidget* m_orderPanel = nullptr;
    DateEdit* m_globalOrderDate = nullptr;
    QHash<QString, QLabel*> m_totals;
    QComboBox* m_carriers[2] = {};
    QCheckBox* m_pickupDateOn = nullptr;
    DateEdit* m_pickupDate = nullptr;
    QCheckBox* m_pickupTimeOn = nullptr;
    QCheckBox* m_extraLogo = nullptr;
    QHash<QString, QCheckBox*> m_printOptions;
    QSpinBox* m_copies = nullptr;
    QHash<QString, QPushButton*> m_buttons;

    QList<qint64> m_rowids;  // the temporary lines, in grid order
    qint64 m_editing = 0;    // rowid of the line being changed, 0 for a new one
    double m_stockShown = 0;
    qint64 m_counter = 0;
    qint64 m_proposed = 0;
    bool m_started = false;
    bool m_closing = false;
    bool m_registered = false;
    bool m_duplicateAccepted = false;
    int m_ok = 0;
    int m_failed = 0;
};

}  // namespace zel

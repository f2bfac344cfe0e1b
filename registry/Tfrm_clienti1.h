#pragma once

#include <QDialog>
#include <QHash>
#include <QVariantMap>
#include <functional>
#include <memory>

#include "registry/PartnerArchive.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class QWidget;

namespace zel {

namespace report {
class PageModel;
}
class DateEdit;
class PartnerListModel;
class PictureView;
class TrustBar;
class Tfrm_cerca;

// The customer and supplier card: the list of every card below, the current card
// on tabbed pages above. A confirmation writes the whole card in one transaction.
class Tfrm_clienti1 : public QDialog {
    Q_OBJECT
public:
    Tfrm_clienti1(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_clienti1() override;

    // Shows previews of prints; tests replace it to read the page model.
    std::function<void(const report::PageModel&)> showPreview;
    // Shows the search dialog prepared by the card; tests replace it.
    std::function<void(Tfrm_cerca&)> runSearch;
    // The quick view "Fatture": opens the invoice browser on the card's customer when
    // set (the invoice windows live above the registry), else lists the headers here.
    std::function<void(const QString& code)> openInvoices;

    // Position of the page "Filtri e Stampe F8".
    static constexpr int kPrintPage = 6;
    void showPage(int page);

    void FormShow();
    void btn_nuovaClick();
    bool btn_confermaClick();
    void btn_annullaClick();
    void btn_cancellaClick();
    void btn_inizioClick();
    void btn_precedenteClick();
    void btn_successivoClick();
    void btn_fineClick();
    void btn_piva_cfClick();
    void btn_attiva_filtroClick();
    void btn_stampa_elencoClick();
    void quickViewClick(int which);
    void btn_trova_capClick();
    void btn_cerca_vetturaClick();
    void btn_cancella_vetturaClick();
    void btn_nuovo_allegatoClick();
    bool btn_conferma_allegatoClick();
    void btn_cancella_allegatoClick();
    // Runs the quick search at once; typing runs it after a pause of kSearchPauseMs.
    void edt_ricercaChange();
    static constexpr int kSearchPauseMs = 200;

    bool isNewCard() const { return m_newCard; }
    int currentRow() const { return m_current; }
    // Cards in the list, once the typed search has run and the count is complete.
    int listCount();
    PartnerArchive& archive() { return m_archive; }
    // The card's fields as they would be written.
    QVariantMap cardFields() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    struct Field;
    void buildUi();
    QWidget* buildCardPage();
    QWidget* buildTypePage();
    QWidget* buildContactsPage();
    QWidget* buildQuickViewPage();
    QWidget* buildPhotoPage();
    QWidget* buildAttachmentsPage();
    QWidget* buildFilterPage();
    QWidget* buildVehiclePage();
    QWidget* addField(const QString& column, const QString& name, int kind);
    // A picture whose path is the text of the column's field.
    PictureView* addPicture(const QString& column, const QString& name);
    void pickPicture(const QString& column);
    // A chosen file's path fits the field; a longer one is refused with a message.
    bool fitsField(const QString& file, const QLineEdit* field);

    void runQuery(const PartnerQuery& q, qint64 keepRowid = -1, int fallbackRow = 0);
    void showRow(int row);
    void showCard(const QVariantMap& card);
    void clearCard();
    void setBrowsing(bool browsing);
    void quickSearchChanged();
    void startCount();
    void countStep();
    void showCount();
    void sortByColumn(int column);
    void cityChanged(QLineEdit* city, QLineEdit* cap, QLineEdit* prov);
    void applySettings();
    void fillPickLists();
    void loadContacts();
    void loadAttachments(qint64 selectRowid = -1);
    void showAttachment(int row);
    bool saveContacts();
    void updateBadges();
    Tfrm_cerca& searchDialog();
    // One statement on a contact or attachment row; a failure is shown.
    bool writeSideArchive(const QString& path, const QString& sql, const QVariantList& params);
    void openBankSearch(QObject* field);

    AppContext& m_ctx;
    PartnerArchive m_archive;
    PartnerListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QTabWidget* m_pages = nullptr;
    QHash<QString, QWidget*> m_fields;  // column -> edit control
    QHash<QString, int> m_maxLengths;   // column -> CHAR length
    QCheckBox* m_kinds[12] = {};
    QSpinBox* m_trust = nullptr;
    TrustBar* m_trustBars[2] = {};
    QLabel* m_count = nullptr;
    QLabel* m_insertPanel = nullptr;
    QLabel* m_badges = nullptr;
    QLabel* m_dataAcq = nullptr;
    PictureView* m_smallPicture = nullptr;
    QList<PictureView*> m_pictures;  // every picture, for the display mode
    QWidget* m_bankPanel = nullptr;
    QWidget* m_altAddress = nullptr;
    QWidget* m_searchBox = nullptr;
    QComboBox* m_searchField = nullptr;
    QComboBox* m_searchMode = nullptr;
    QComboBox* m_searchKind = nullptr;
    QLineEdit* m_searchText = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    // Filter page
    QHash<QString, QLineEdit*> m_filterFrom;
    QHash<QString, QLineEdit*> m_filterTo;
    QLineEdit* m_filterAgent = nullptr;
    QRadioButton* m_filterBetween = nullptr;
    QRadioButton* m_printKinds[4] = {};
    QComboBox* m_filterOrder = nullptr;
    QComboBox* m_reportChoice = nullptr;
    bool m_filterActive = false;
    // Side pages
    QTableWidget* m_contacts = nullptr;
    QLabel* m_noContacts = nullptr;
    QTableWidget* m_attachments = nullptr;
    DateEdit* m_attDate = nullptr;
    QLineEdit* m_attDes = nullptr;
    QSpinBox* m_attPrivacy = nullptr;
    TrustBar* m_attBar = nullptr;
    QLineEdit* m_attFile = nullptr;
    qint64 m_attRowid = -1;  // the entry shown, -1 for none or a new one
    bool m_attNew = false;
    QTableWidget* m_quickView = nullptr;
    bool m_contactsDirty = false;
    QComboBox* m_vehicleField = nullptr;
    QLineEdit* m_vehicleText = nullptr;
    std::unique_ptr<Tfrm_cerca> m_ownSearch;

    QTimer* m_searchTimer = nullptr;
    QTimer* m_countTimer = nullptr;
    qint64 m_countNext = 0;
    qint64 m_countEnd = -1;
    qint64 m_listTotal = 0;
    PartnerQuery m_query;
    int m_current = -1;
    qint64 m_currentRowid = -1;
    QString m_currentCode;  // as stored, for the side archives of the card
    bool m_newCard = false;
    bool m_opened = false;  // the opening ran since the window was last closed
    bool m_loading = false;
};

}  // namespace zel

#pragma once

#include <QDialog>
#include <QHash>
#include <QVariantMap>
#include <functional>
#include <memory>

#include "ui/AppContext.h"
#include "warehouse/ArticleArchive.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace zel {

namespace report {
class PageModel;
}
class ArticleListModel;
class Tfrm_cerca;
class Tmulti_art;

// The article card "Articoli di magazzino": the list of articles below, the current
// article on five pages above. A confirmation writes the article in one transaction.
class Tfrm_articoli : public QDialog {
    Q_OBJECT
public:
    Tfrm_articoli(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_articoli() override;

    // Seams the program fills with the real windows and tests replace.
    std::function<void(const report::PageModel&)> showPreview;
    std::function<void(Tfrm_cerca&)> runSearch;
    // Opens the stock load/unload window on an article code and returns when it closes.
    std::function<void(const QString& code)> runLoadWindow;
    std::function<bool(const QString& path)> openFile;

    enum Page { Generalita = 0, Foto = 1, Storico = 2, Extra = 3, Legenda = 4 };
    void showPage(int page);

    void FormShow();
    void btn_nuovoClick();
    bool btn_confermaClick();
    void btn_annullaClick();
    void btn_cancellaClick();
    void btn_inizioClick();
    void btn_indietroClick();
    void btn_avantiClick();
    void btn_fineClick();
    void btn_carico_scaricoClick();
    void btn_stampa_listinoClick();
    void btn_stampa_schedaClick();
    void btn_togli_filtroClick();
    void btn_vecchia_dataClick();
    void btn_ricalcolaClick();
    void btn_calcolaClick();  // the cost sheet of page F6
    void verificaDuplicati();
    void scorporoIva();                     // Ctrl+Alt+I
    void convertCurrency(QLineEdit* from);  // Ctrl+Alt+C from the focused price field
    void pasteFromClipboard(int slot);      // 1..3
    // Runs a pending search at once instead of after the typing pause.
    void settleSearch();

    bool isNewCard() const { return m_newCard; }
    int currentRow() const { return m_current; }
    qint64 currentRowid() const { return m_currentRowid; }
    int listCount() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    void buildUi();
    QWidget* buildGeneralPage();
    QWidget* buildPhotoPage();
    QWidget* buildHistoryPage();
    QWidget* buildExtraPage();
    QWidget* buildLegendPage();
    QWidget* addField(const QString& column, const QString& name, int kind, const QString& caption);
    QLineEdit* edit(const QString& column) const;
    QPushButton* addButton(const QString& name, const QString& caption);

    void runQuery(const ArticleQuery& q, qint64 keepRowid = -1, int fallbackRow = 0);
    void showRow(int row);
    void showCard(const QVariantMap& card);
    void clearCard();
    void setBrowsing(bool browsing);
    bool leaveNewCard();
    void searchChanged();
    void runSearchNow();
    void applySettings();
    void fillCurrencies();
    void updateStockPanel();
    void updateSecondCurrency();
    void updateMarkup();
    void salePriceEdited();
    void markupEdited();
    void fillHistory();
    void showPicture(int slot);
    void sideList(QLineEdit* field, const QString& pattern);
    void openPartnerSearch(QLineEdit* field, const QString& mode);
    Tfrm_cerca& searchDialog();
    // The card's columns as they would be written; error names a field that is no number.
    QVariantMap cardFields(QString* error) const;
    double fieldNumber(const QString& column) const;

    AppContext& m_ctx;
    ArticleArchive m_archive;
    ArticleListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QTabWidget* m_pages = nullptr;
    QHash<QString, QWidget*> m_fields;  // column -> edit control
    QStringList m_fieldOrder;
    QHash<QString, QString> m_captions;
    QHash<QString, int> m_maxLengths;
    QHash<QString, QString> m_shownStock;  // stock column -> text shown with the card
    QHash<QString, QPushButton*> m_buttons;
    QHash<QString, QLabel*> m_labels;
    QComboBox* m_filter = nullptr;
    QLineEdit* m_search = nullptr;
    QTimer* m_searchTimer = nullptr;
    QLineEdit* m_markup = nullptr;
    QLineEdit* m_priceWithVat = nullptr;
    QComboBox* m_outside = nullptr;
    QListWidget* m_sideList = nullptr;
    QLineEdit* m_sideListField = nullptr;
    QLabel* m_pictures[3] = {};
    QComboBox* m_pictureModes[3] = {};
    QCheckBox* m_pictureFit[3] = {};
    std::unique_ptr<Tfrm_cerca> m_ownSearch;
    std::unique_ptr<Tmulti_art> m_ownLoad;
    QList<Currency> m_currencies;
    QList<OutsideStock> m_outsideRows;

    ArticleQuery m_query;
    int m_current = -1;
    qint64 m_currentRowid = -1;
    QString m_currentCode;
    double m_averageCost = 0;
    bool m_newCard = false;
    bool m_loading = false;
    bool m_oldHidden = false;
    bool m_opened = false;
};

}  // namespace zel

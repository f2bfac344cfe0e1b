#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "ui/AppContext.h"
#include "warehouse/StockOps.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class QTabWidget;
class QTableWidget;

namespace zel {

namespace report {
class PageModel;
}
class Tfrm_cerca;

// Stock load and unload by hand: page "Carico merce" loads an article (main or outside
// warehouse, with its order line), page "Scarico merce" unloads it and collects the
// unload bill. Each confirmation is one transaction through StockOps.
class Tmulti_art : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLoadPage = 0;
    static constexpr int kUnloadPage = 1;

    Tmulti_art(AppContext& ctx, QWidget* parent = nullptr);
    ~Tmulti_art() override;

    // Shows previews of prints; tests replace it to read the page model.
    std::function<void(const report::PageModel&)> showPreview;
    // Shows the search dialog prepared by the window; tests replace it.
    std::function<void(Tfrm_cerca&)> runSearch;

    // Prepares the window on a page and, when code is not empty, on that article.
    void prepare(int page, const QString& code = {});
    // The load page aimed at the first outside warehouse ("Carico da magazzino esterno").
    void prepareOutside();

    void FormShow();
    bool btn_conferma_caricoClick();
    bool btn_conferma_scaricoClick();
    void btn_stampa_bollettaClick();
    void btn_uscitaClick();
    void edt_fornitoreDblClick();
    void edt_destinatarioDblClick();

    StockOps& stock() { return *m_ops; }

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    struct ArticleItem {
        QString code;
        QString description;
    };
    void buildUi();
    QWidget* buildLoadPage();
    QWidget* buildUnloadPage();
    void loadArticles();
    void loadWarehouses();
    ArticleItem splitItem(const QString& item) const;
    // The description of the article with this code; nothing when there is none.
    std::optional<QString> storedDescription(const QString& code) const;
    void articleChosen(bool loadPage);
    void showFigures(const QString& code);
    void clearFigures();
    // A typed number; false (and a message naming the field) when it is not one.
    bool number(QLineEdit* edit, const QString& caption, double* out);
    bool date(QLineEdit* edit, const QString& caption, QDate* out, bool required);
    QString pickSupplier(const QString& typed);
    QString billPath() const;

    AppContext& m_ctx;
    std::unique_ptr<StockOps> m_ops;
    QTabWidget* m_pages = nullptr;
    QStringListModel* m_articleModel = nullptr;
    // Load page
    QComboBox* m_article = nullptr;
    QLineEdit* m_ddt = nullptr;
    QLineEdit* m_supplier = nullptr;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_parcels = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_price = nullptr;
    QComboBox* m_vat = nullptr;
    QLineEdit* m_serial = nullptr;
    QLineEdit* m_factor = nullptr;
    QRadioButton* m_mode1 = nullptr;
    QRadioButton* m_mode2 = nullptr;
    QLineEdit* m_order = nullptr;
    QLineEdit* m_orderDate = nullptr;
    QLineEdit* m_loadDate = nullptr;
    QLineEdit* m_note = nullptr;
    QComboBox* m_place = nullptr;
    QTableWidget* m_loadList = nullptr;
    QLabel* m_stockLabel = nullptr;
    QLabel* m_availableLabel = nullptr;
    QLabel* m_weightLabel = nullptr;
    QLabel* m_parcelsLabel = nullptr;
    QLabel* m_costLabel = nullptr;
    QLabel* m_minimumLabel = nullptr;
    QLabel* m_lastPriceLabel = nullptr;
    QLabel* m_lowPriceLabel = nullptr;
    QLabel* m_highPriceLabel = nullptr;
    // Unload page
    QComboBox* m_uArticle = nullptr;
    QLineEdit* m_uQuantity = nullptr;
    QLineEdit* m_uFactor = nullptr;
    QLineEdit* m_uWeight = nullptr;
    QLineEdit* m_uParcels = nullptr;
    QLineEdit* m_uPrice = nullptr;
    QComboBox* m_uVat = nullptr;
    QLineEdit* m_consignee = nullptr;
    QLineEdit* m_operator = nullptr;
    QLineEdit* m_billDate = nullptr;
    QLineEdit* m_uOrderDate = nullptr;
    QLineEdit* m_uNote = nullptr;
    QCheckBox* m_writeMovement = nullptr;
    QTableWidget* m_unloadList = nullptr;
    std::unique_ptr<Tfrm_cerca> m_ownSearch;
    bool m_filling = false;
};

}  // namespace zel

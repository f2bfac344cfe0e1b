#pragma once

#include <QDialog>
#include <QList>
#include <QVariantMap>
#include <functional>
#include <optional>

#include "ddt/DdtArchive.h"
#include "ddt/DdtPrintOptions.h"
#include "report/PageModel.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimeEdit;

namespace zel {

class DateEdit;

// "Scorrimento DDT": the registered DDT of a year archive, the lines of the current one,
// their changes, the deletion of a DDT with the optional stock give-back, and its print.
class Tscorre_ddt : public QDialog {
    Q_OBJECT
public:
    Tscorre_ddt(AppContext& ctx, QWidget* parent = nullptr);

    // Opens on the archives the settings name, with the default list.
    void FormShow();
    // "Cambia archivio": the year archives that exist, and the current year.
    QList<int> archiveYears() const;
    void showYear(int year);
    int shownYear() const { return m_archives.year(); }

    DdtListModel& listModel() { return *m_model; }
    void selectRow(int row);
    std::optional<DdtKey> currentKey() const;
    const QList<QVariantMap>& currentLines() const { return m_lines; }
    void setStrictDates(bool on) { m_strictDates = on; }

    // Handlers, public so the menu and the tests drive them like the buttons do.
    void btn_set_filtroClick();
    void btn_reset_filtroClick();
    void btn_tuttiClick();
    void btn_cercaClick();
    void gridTitleClick(int column);
    void btn_cambia_archivioClick();
    void btn_elimina_ddtClick();
    void btn_stampa_ddtClick();
    void btn_cambia_destinatarioClick();
    void btn_movimentiClick();
    void btn_editClick();
    void btn_dettClick();
    void btn_aggiornaClick();
    void btn_aggiungiClick();
    void btn_confermaClick();
    void btn_cancella_elementoClick();
    void btn_set_dataClick();

    // Seams: the customer pick of "Cambia destinatario" (empty when given up) and the
    // preview of a print. By default the search dialog and the maximised preview.
    std::function<QString()> pickCustomer;
    std::function<void(const report::PageModel&, int copies)> showPreview;

    DdtPrintOptions printOptions() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildUi();
    void reload(int keepRow);
    void showCurrent();
    void showLine(int index);
    void refreshTotals(const DdtKey& key);
    void clearLineEditor();
    DdtLineFields lineFromEditor() const;
    DdtHeaderFields headerFromEditor() const;
    void recomputeNet();
    void backupWithNotice(const QString& path, const QString& notice);
    void selectLineRow(int index);
    int currentLineIndex() const;

    AppContext& m_ctx;
    DdtYearArchives m_archives;
    DdtQuery m_query;
    DdtListModel* m_model = nullptr;
    QList<QVariantMap> m_lines;
    std::optional<QVariantMap> m_header;
    bool m_adding = false;
    bool m_strictDates = false;
    int m_lastSort = -1;

    QTableView* m_grid = nullptr;
    QLabel* m_count = nullptr;
    QCheckBox* m_chkFatturabili = nullptr;
    QCheckBox* m_chkCarico = nullptr;
    QCheckBox* m_chkScarico = nullptr;
    QLineEdit* m_fNumero = nullptr;
    QLineEdit* m_fCliente = nullptr;
    QLineEdit* m_fFornitore = nullptr;
    QLineEdit* m_fOrdine = nullptr;
    QLineEdit* m_cerca = nullptr;
    QComboBox* m_archivio = nullptr;

    QTabWidget* m_pages = nullptr;
    QTableWidget* m_linesGrid = nullptr;
    QLabel* m_totals = nullptr;
    QLabel* m_noLines = nullptr;

    // Editing page: line.
    QLineEdit* m_cod = nullptr;
    QLineEdit* m_des = nullptr;
    QLineEdit* m_prezzo = nullptr;
    QLineEdit* m_sconto = nullptr;
    QLineEdit* m_prezzoNett = nullptr;
    QComboBox* m_iva = nullptr;
    QComboBox* m_um = nullptr;
    QLineEdit* m_quant = nullptr;
    QLineEdit* m_peso = nullptr;
    QLineEdit* m_colli = nullptr;
    QLineEdit* m_ordine = nullptr;
    DateEdit* m_dataOrd = nullptr;
    DateEdit* m_dataRiga = nullptr;
    QComboBox* m_fatturaRiga = nullptr;
    QLineEdit* m_flag = nullptr;
    // Editing page: header.
    QComboBox* m_causale = nullptr;
    QComboBox* m_porto = nullptr;
    QComboBox* m_aspetto = nullptr;
    QComboBox* m_trasporto = nullptr;
    QLineEdit* m_imballo = nullptr;
    QLineEdit* m_ordineDdt = nullptr;
    QLineEdit* m_note1 = nullptr;
    QLineEdit* m_note2 = nullptr;
    QComboBox* m_fatturaDdt = nullptr;
    DateEdit* m_dataDdt = nullptr;
    QPushButton* m_aggiorna = nullptr;
    QPushButton* m_conferma = nullptr;
    QPushButton* m_setData = nullptr;

    // Print page.
    QLineEdit* m_destNome = nullptr;
    QLineEdit* m_destVia = nullptr;
    QLineEdit* m_destCap = nullptr;
    QLineEdit* m_destCitta = nullptr;
    QLineEdit* m_destProv = nullptr;
    QComboBox* m_vettore1 = nullptr;
    QComboBox* m_vettore2 = nullptr;
    QCheckBox* m_chkDataRitiro = nullptr;
    DateEdit* m_dataRitiro = nullptr;
    QCheckBox* m_chkOraRitiro = nullptr;
    QTimeEdit* m_oraRitiro = nullptr;
    QLineEdit* m_notaStampa = nullptr;
    QCheckBox* m_colUm = nullptr;
    QCheckBox* m_colPeso = nullptr;
    QCheckBox* m_colOrdine = nullptr;
    QCheckBox* m_colDataOrdine = nullptr;
    QCheckBox* m_campoScarto = nullptr;
    QCheckBox* m_campoVsRif = nullptr;
    QCheckBox* m_campoImballo = nullptr;
    QCheckBox* m_logoAggiuntivo = nullptr;
    QSpinBox* m_copie = nullptr;
};

}  // namespace zel

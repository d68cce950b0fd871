#pragma once
// A small list of properties edited in place: rows of fixed texts with
// editable number cells (the item dialog's per-target amounts), and an
// optional last row "<< Click here to add a new item >>" that asks the owner
// to add a row.
//
// A number cell keeps whatever the user typed; number() says whether that
// text reads as a number, so a cell that holds no number can be left alone.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

namespace orv {

class PropertyTable;

class PropertyList : public QWidget {
    Q_OBJECT

public:
    struct Column {
        QString title;
        int width = 80;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    static QString addRowText() { return QStringLiteral("<< Click here to add a new item >>"); }

    explicit PropertyList(QWidget* parent = nullptr);

    // Replaces the columns (and drops every row).
    void setColumns(const std::vector<Column>& columns);
    int columnCount() const;

    // Appends a row of fixed texts, one per column (missing ones are empty).
    int addRow(const QStringList& texts);
    int rowCount() const;
    void clearRows();

    // Makes the cell an editable number cell showing value with "%.*g".
    bool setNumber(int row, int column, double value, int precision = 6);
    // Sets a cell's text as if typed; false for a cell that does not exist.
    bool setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;
    bool isEditable(int row, int column) const;
    // The cell's number: blanks and tabs around one finite decimal number
    // (optional sign, digits, point, exponent); nothing otherwise.
    std::optional<double> number(int row, int column) const;

    // Shows or hides the "<< Click here to add a new item >>" row after the
    // last row. A click on it, or Enter while it is current, raises
    // addItemRequested.
    void setAddRowShown(bool shown);
    bool isAddRowShown() const { return addRowShown_; }

    // The current property row, or -1 (the add row does not count).
    int currentRow() const;
    bool selectRow(int row);
    // Opens the in-place editor on an editable cell; false otherwise.
    bool editCell(int row, int column);

    QTableWidget* table() const;

    // Reads text as number() does.
    static std::optional<double> parseNumber(const QString& text);

Q_SIGNALS:
    void cellEdited(int row, int column);
    void addItemRequested();

private:
    friend class PropertyTable;

    void placeAddRow();
    int addRowIndex() const;
    bool isAddRow(int row) const;
    QTableWidgetItem* itemAt(int row, int column) const;
    int firstEditableColumn(int row) const;

    PropertyTable* table_ = nullptr;
    std::vector<Column> columns_;
    bool addRowShown_ = false;   // asked for by the owner
    bool addRowPlaced_ = false;  // present as the table's last row
    bool filling_ = false;
};

}  // namespace orv

#pragma once
// An in-memory table with a change log: declared fields, rows loaded from a data packet, a
// current record with browse/edit/insert states, before/after events, a filter, and the pending
// changes as a ChangeSet. Bound widgets follow it through its signals. UI thread only.
#include "platform/field.h"
#include "platform/packet.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>

namespace qmv {

// Misuse of a dataset (an unknown field, a write outside edit, a bad filter); the message is
// meant for a person.
class DataSetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields };

enum class LocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)

class DataSet : public QObject {
    Q_OBJECT
public:
    // Every event receives the dataset; a before-event stops its operation by throwing
    // qmv::Abort (or any exception, which then propagates to the caller).
    using Event = std::function<void(DataSet&)>;

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    // Fields. Declared fields keep their order; a packet column without a declared field is
    // added after them as a dynamic field when the packet is loaded.
    Field& addField(const FieldDef& def);  // only while inactive
    void clearFields();                     // only while inactive
    Field& fieldByName(const QString& name) const;  // throws DataSetError
    Field* findField(const QString& name) const;    // case-insensitive; nullptr when absent
    Field& field(int index) const;
    int fieldCount() const;
    QList<Field*> fields() const;

    // Content. Loading replaces every row and the change log and opens the dataset with its first
    // row current (after-open, then after-scroll when it has rows). A packet that cannot be read
    // leaves the dataset as it was.
    void loadPacket(const DataPacket& packet);
    void loadPacket(DataPacket&& packet);
    void loadPacket(const QByteArray& bytes);  // throws PacketError
    DataPacket toPacket() const;               // every row as currently posted, filter ignored

    void open();  // opens with no rows when nothing is loaded
    void close();  // cancels a pending edit; drops the rows and the change log
    bool isActive() const;
    bool isEmpty() const;  // true while inactive
    DataSetState state() const;
    bool modified() const;  // a field was written since edit/insert began

    void edit();  // on an empty dataset starts an insert
    void insert();
    void append();
    void post();
    void cancel();
    void remove();  // deletes the current record (the classic Delete)
    void checkBrowseMode();  // posts a modified edit, cancels an unmodified one

    // Navigation over the rows the filter lets through. A pending edit is posted first when
    // modified, cancelled otherwise. eof/bof are set only by an attempt to move past the last or
    // before the first row, and both hold while inactive or empty.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    int recNo() const;  // 1-based; 0 when there is no current record
    void setRecNo(int recNo);
    int recordCount() const;  // posted rows the filter lets through
    int rowCount() const;     // the same plus a row being inserted; the rows a grid shows
    int currentRow() const;   // 0-based; -1 when there is no current record
    // "CDSUBGRU;CDESPEPRODSG" with one value per field; makes the found record current.
    bool locate(const QString& keyFields, const QVariantList& values, LocateOptions options = {});

    // "(FIELD = 'value')" terms joined by AND/OR, parentheses allowed. Throws DataSetError on an
    // expression it cannot read. Switching the filter (or changing it while on) goes to the first row.
    void setFilter(const QString& expression);
    QString filter() const;
    void setFiltered(bool on);
    bool filtered() const;

    // While disabled (counted), bound controls are not told of changes; enabling tells them once.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    // Change log: one entry per record with pending changes, in the order first changed.
    int changeCount() const;
    ChangeSet delta() const;
    void mergeChangeLog();  // the pending changes become the base state
    void cancelUpdates();   // every record back to its base state (deleted ones return)
    bool logChanges() const;
    void setLogChanges(bool on);  // off: posts change the base state directly
    // After a send that got no verdict from the server: the current record's logged change leaves
    // the log and the record is back in edit (in insert when it was inserted) holding the posted
    // values, modified, with no event fired (they ran when it was posted); every other record
    // returns to its base state. Without a logged insert or update on the current record this is
    // cancelUpdates.
    void returnToEdit();

    // Bound controls holding typed text not yet written to the record (an open grid cell) write it
    // when asked: post and checkBrowseMode ask first, so what was typed is what is posted. An
    // updater that refuses its text throws, and the post stops. Removed with its owner.
    void addRecordUpdater(QObject* owner, std::function<void()> update);
    void removeRecordUpdaters(QObject* owner);
    void updateRecord();

    Event beforeOpen, afterOpen, beforeClose, afterClose;
    Event beforeInsert, afterInsert, beforeEdit, afterEdit, onNewRecord;
    Event beforePost, afterPost, beforeCancel, afterCancel, beforeDelete, afterDelete;
    Event beforeScroll, afterScroll;
    Event onCalcFields;  // writes the calculated fields of the record in state CalcFields

signals:
    void stateChanged(qmv::DataSetState state);
    void rowsReset();                // rows, their order or the filter changed
    void currentRowChanged(int row);
    void rowChanged(int row);        // the values of one row of the view changed
    void fieldValueChanged(qmv::Field* field);  // in the record being edited
    void controlsEnabledChanged(bool enabled);

private:
    friend class Field;
    QVariant readValue(int field) const;
    void writeValue(int field, const QVariant& value);
    QVariant readOldValue(int field) const;
    QVariant readValueAt(int row, int field) const;
    QString readWithRowCurrent(int row, const std::function<QString()>& read) const;

    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace qmv

Q_DECLARE_OPERATORS_FOR_FLAGS(qmv::LocateOptions)

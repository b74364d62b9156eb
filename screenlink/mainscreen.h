#pragma once
// MainScreen: what the photo screen's dialogs (filter, report, import, equipment inclusion,
// sub-group observation) may read from and ask of the main screen. The main screen implements it and
// is the current one while it exists; a dialog takes values and asks for reloads through it, never
// reaching the screen's widgets. UI thread only.
#include <QString>

namespace qmv {

class DataSet;
class DataSource;
class TNetConnection;
class TfrmPadraoGrid;

// The selection the screen has loaded: the branch as shown, and the key its lookups validated.
struct LoadedKey {
    QString branch;
    QString company;
    QString manual;
    QString service;
    QString classCode;
    QString cycle;
};

// The selection panel's rows as the person sees them, code and name of each.
struct ShownSelection {
    QString branch, branchName;
    QString company, companyName;
    QString manual, manualName;
    QString service, serviceName;
};

class MainScreen {
public:
    virtual ~MainScreen() = default;

    virtual LoadedKey loadedKey() const = 0;
    virtual ShownSelection shownSelection() const = 0;
    virtual TNetConnection& connection() = 0;

    // Reads the service's sub-groups again; each filter is "0" with the photo (or instructions),
    // "1" without, "2" all.
    virtual void reloadSubGroups(const QString& photoFilter, const QString& instrFilter) = 0;
    // Enables the pages that show a sub-group, or locks them and brings the sheet to the front.
    virtual void setSubGroupPagesEnabled(bool enabled) = 0;
    // The current sub-group's pages read again from the server.
    virtual void refreshSubGroup() = 0;

    // The current sub-group record (its key and the observation TXCOMSUMA) and its data source.
    virtual DataSet& subGroup() = 0;
    virtual DataSource& subGroupSource() = 0;
    // The current sub-group's equipment, which the inclusion dialog adds to.
    virtual DataSet& equipment() = 0;
    // The form whose grid the report lists.
    virtual TfrmPadraoGrid& listing() = 0;
    // The caption under which the screen shows a stored column of one of its tables (SUBGRUSEMA,
    // EQUISUBSEMA, PRODRECSEMA), or the column's own name when it shows it under none.
    virtual QString fieldCaption(const QString& table, const QString& column) const = 0;
};

// The main screen open now, or nullptr.
MainScreen* currentMainScreen();
void setCurrentMainScreen(MainScreen* screen);
// Clears the current screen when it is this one (a screen going away).
void releaseMainScreen(const MainScreen* screen);

}  // namespace qmv

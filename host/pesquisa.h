#pragma once
// The host's search routines over the UI seam: Pesquisar (pick one row of a list), PesquisaLista
// (mark several rows and get one field of each as one text) and Procura (find a record). UI thread.
#include <QString>

namespace qmv {

class DataSet;
class DataSource;

// Lists the source's rows over its visible fields; true when a row was picked. With makeCurrent
// the picked row becomes current (the module always asks for that); otherwise the dataset is put
// back on its row. pickSoleRow picks a list of one row without showing it. An empty or closed
// source shows no list and gives false.
bool Pesquisar(DataSource& source, const QString& title, bool pickSoleRow = false, bool makeCurrent = true);

// titles is "window title|text shown when the list is empty". The values of `field` in the rows
// marked go into result as one text, each in single quotes, separated by commas ("'0101','0102'");
// true when something was marked. Cancelling leaves result as it was; an empty list shows its text.
bool PesquisaLista(DataSource& source, const QString& field, const QString& titles, bool pickSoleRow,
                   QString& result);

// The find window over the dataset; true when a record was found (it is then current).
bool Procura(DataSet& dataSet);

}  // namespace qmv

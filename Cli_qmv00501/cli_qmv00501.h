#pragma once
// Unit Cli_qmv00501: the filter dialog's instance and flag, boPrimVez (true until the dialog's first
// activation) and Filtro, the last photo and instruction choices, kept while the package is loaded.
// UI thread only.
#include <QPointer>
#include <QString>

namespace qmv {
class TfrmFiltroFotoMan;
}

namespace qmv::Cli_qmv00501 {

// The item indexes of the photo and the instruction choice, as decimal text.
struct TFiltro {
    QString foto;
    QString montagem;
};

extern QPointer<TfrmFiltroFotoMan> frmFiltroFotoMan;
extern bool boIDCriado;
extern bool boPrimVez;
extern TFiltro Filtro;

// Modal when it creates the dialog; a plain show of the existing one while boIDCriado is true.
void CriaFiltroFoto();

void initialization() noexcept;
void finalization() noexcept;

}  // namespace qmv::Cli_qmv00501

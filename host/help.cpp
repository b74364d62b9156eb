#include "host/help.h"

#include "host/ui.h"

namespace qmv {

namespace {

HelpViewer& viewer()
{
    static HelpViewer instance;
    return instance;
}

}  // namespace

void setHelpViewer(HelpViewer newViewer)
{
    viewer() = std::move(newViewer);
}

void ShowHelpContext(const QString& helpFile, int helpContext)
{
    if (viewer()) {
        viewer()(helpFile, helpContext);
        return;
    }
    if (helpFile.isEmpty())
        ui().showInfo(QStringLiteral("Esta tela não tem ajuda."));
    else
        ui().showInfo(QStringLiteral("Ajuda: tópico %1 de \"%2\" (o visualizador de ajuda não está instalado).")
                          .arg(helpContext).arg(helpFile));
}

}  // namespace qmv

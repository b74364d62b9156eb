#pragma once
// Where the emission reads the manual: the list of its services, then each service's content.
// ServerEmissionSource asks the application server (GetEmissaoManual, GetEmissaoServico) through a
// connection; a failed call is shown through the result check and raised as qmv::Abort.
// UI thread only.
#include "qmv01200/emissiondata.h"

namespace qmv {

class TNetConnection;

class EmissionSource {
public:
    virtual ~EmissionSource() = default;
    // The manual's services; only the selected service when wholeManual is false.
    virtual ManualHeader manual(const ManualSelection& selection, bool wholeManual) = 0;
    virtual ServiceContent service(const ManualSelection& selection, const ServiceHeader& service) = 0;
};

class ServerEmissionSource : public EmissionSource {
public:
    // codeLevels: the levels of the host's product code picture (equipment deeper than it is left out).
    ServerEmissionSource(TNetConnection& connection, int codeLevels);

    ManualHeader manual(const ManualSelection& selection, bool wholeManual) override;
    ServiceContent service(const ManualSelection& selection, const ServiceHeader& service) override;

private:
    TNetConnection& connection_;
    QString codeLevels_;
};

}  // namespace qmv

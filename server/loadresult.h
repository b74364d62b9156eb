#pragma once
// The last steps of every Get... call: the result check, then the data packet replaces the rows and the
// change log of the target dataset. A failed call or an unreadable packet is shown and raised
// (qmv::Abort) before the dataset is touched. UI thread only.
#include "platform/packet.h"
#include "platform/remoteresult.h"

namespace qmv {

class DataSet;

void loadResult(DataSet& target, const RemoteResult& result);

// The result check, then the data packet of a successful result, decoded straight from its wire
// bytes when the transport kept them. Failures are shown and raised as for loadResult.
DataPacket checkedPacket(const RemoteResult& result);

}  // namespace qmv

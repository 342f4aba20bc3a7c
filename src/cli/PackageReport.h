#pragma once
// What "package inspect" shows of a package and its configuration record.

#include "Report.h"
#include "channel/ChannelConfig.h"
#include "package/DeviceConfigRecord.h"
#include "package/PackageHeader.h"

namespace corvane::cli {

Report HeaderReport(const PackageHeader& header);
Report ConfigRecordReport(const DeviceConfigRecord& record, const ChannelConfig& channel1,
                          const ChannelConfig& channel2);

}  // namespace corvane::cli

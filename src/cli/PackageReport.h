#pragma once
// What "package inspect" shows of a package and its configuration record.

#include "Report.h"
#include "channel/ChannelConfig.h"
#include "package/DeviceConfigRecord.h"
#include "package/PackageHeader.h"

namespace corvane::cli {

// The key itself only when the reader handed it over (authorization passed).
Report HeaderReport(const PackageHeader& header, bool hasProviderKey);
Report ConfigRecordReport(const DeviceConfigRecord& record, const ChannelConfig& channel1,
                          const ChannelConfig& channel2);

}  // namespace corvane::cli

#include "PackageReport.h"

#include <cinttypes>
#include <cstdio>

#include "session/DeviceModel.h"

namespace corvane::cli {
namespace {

std::string Hex(std::uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*" PRIX64, digits, value);
  return text;
}

Report PlaylistReport(const PlaylistRecord& list) {
  Report r;
  r.Add("ListStart_time", std::int64_t{list.ListStart_time});
  r.Add("ListStop_time", std::int64_t{list.ListStop_time});
  r.Add("Media_Duration", std::int64_t{list.Media_Duration});
  r.Add("PlaylistShuffleEnabled", std::int64_t{list.PlaylistShuffleEnabled});
  r.Add("ActiveDays", std::int64_t{list.ActiveDays});
  Report& entries = r.Add("entries", Report::List());
  for (const MediaEntry& entry : list.entries) entries.Append(entry.Line());
  return r;
}

Report ChannelReport(const ChannelConfig& c) {
  Report r;
  r.Add("MasterVolume", std::int64_t{c.MasterVolume});
  r.Add("CrossFadeVolume", std::int64_t{c.CrossFadeVolume});
  r.Add("Treble", std::int64_t{c.Treble});
  r.Add("Bass", std::int64_t{c.Bass});
  r.Add("LocalVolumeEnabled", std::int64_t{c.LocalVolumeEnabled});
  r.Add("ExtAudioEnabled", std::int64_t{c.ExtAudioEnabled});
  r.Add("Time_Between_Messages", std::int64_t{c.Time_Between_Messages});
  r.Add("MusicVolume", std::int64_t{c.MusicVolume});
  r.Add("MessageVolume", std::int64_t{c.MessageVolume});
  r.Add("Auto_Add_Default_Music", std::int64_t{c.Auto_Add_Default_Music});
  r.Add("Time_Between_Repeats", std::int64_t{c.Time_Between_Repeats});
  r.Add("LimitLengthEnabled", std::int64_t{c.LimitLengthEnabled});
  r.Add("music", PlaylistReport(c.Music));
  r.Add("messages", PlaylistReport(c.Messages));
  Report& scheduled = r.Add("scheduled", Report());
  scheduled.Add("Media_Duration", std::int64_t{c.Scheduled.Media_Duration});
  Report& entries = scheduled.Add("entries", Report::List());
  for (std::size_t i = 0; i < c.Scheduled.entries.size(); ++i) {
    Report& e = entries.Append(Report());
    e.Add("line", c.Scheduled.entries[i].Line());
    if (i < c.Scheduled.PA_ListStartTime.size()) {
      e.Add("PA_ListStartTime", std::int64_t{c.Scheduled.PA_ListStartTime[i]});
    }
    if (i < c.Scheduled.PA_ActiveDays.size()) {
      e.Add("PA_ActiveDays", Hex(c.Scheduled.PA_ActiveDays[i], 8));
    }
  }
  return r;
}

}  // namespace

Report HeaderReport(const PackageHeader& header, bool hasProviderKey) {
  Report r;
  r.Add("deviceId", Hex(header.Key, 16));
  r.Add("providerKeySet", hasProviderKey);
  // The reader withholds the key of a package that failed authorization.
  if (!header.ProviderKey.View().empty()) r.Add("providerKey", header.ProviderKey.Str());
  r.Add("memberCount", std::int64_t{header.MemberCount});
  r.Add("model", std::int64_t{header.Model});
  r.Add("modelName", std::string(ModelName(header.Model)));
  r.Add("date", header.Date.Str());
  r.Add("unlock", header.Unlock != 0);
  r.Add("audioSettings", header.HasAudioSettings());
  if (header.HasAudioSettings()) {
    Report& audio = r.Add("audio", Report());
    audio.Add("projectRateText", header.Audio.ProjectRateText.Str());
    audio.Add("projectRate", std::int64_t{header.Audio.ProjectRate});
    audio.Add("outputRateText", header.Audio.OutputRateText.Str());
    audio.Add("outputRate", std::int64_t{header.Audio.OutputRate});
    audio.Add("outputCodec", header.Audio.OutputCodec.Str());
    audio.Add("maxLength", std::int64_t{header.Audio.MaxLength});
  }
  return r;
}

Report ConfigRecordReport(const DeviceConfigRecord& h, const ChannelConfig& channel1,
                          const ChannelConfig& channel2) {
  Report r;
  r.Add("FileVersion", std::int64_t{h.FileVersion});
  r.Add("ntp_time", std::int64_t{h.ntp_time});
  r.Add("stale_date", Hex(h.stale_date, 8));
  r.Add("time_zone", h.time_zone.Str());
  r.Add("device_ip", std::int64_t{h.device_ip});
  r.Add("device_gateway", std::int64_t{h.device_gateway});
  r.Add("device_netmask", std::int64_t{h.device_netmask});
  r.Add("server_ip", std::int64_t{h.server_ip});
  r.Add("server_gateway", std::int64_t{h.server_gateway});
  r.Add("server_netmask", std::int64_t{h.server_netmask});
  r.Add("server_port", std::int64_t{h.server_port});
  r.Add("authorization_ip", std::int64_t{h.authorization_ip});
  r.Add("authorization_gateway", std::int64_t{h.authorization_gateway});
  r.Add("authorization_netmask", std::int64_t{h.authorization_netmask});
  r.Add("authorization_port", std::int64_t{h.authorization_port});
  r.Add("update_ntp_time", std::int64_t{h.update_ntp_time});
  r.Add("update_type", std::int64_t{h.update_type});
  r.Add("update_interval", std::int64_t{h.update_interval});
  r.Add("authorization_type", std::int64_t{h.authorization_type});
  r.Add("authorization_interval", std::int64_t{h.authorization_interval});
  r.Add("stale_days", std::int64_t{h.stale_days});
  r.Add("channel1", ChannelReport(channel1));
  r.Add("channel2", ChannelReport(channel2));
  return r;
}

}  // namespace corvane::cli

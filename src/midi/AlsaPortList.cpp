#include "midi/AlsaPortList.h"

#include <algorithm>

namespace kelvora::midi {

namespace {

bool Offered(const snd_seq_port_info_t* info, AlsaDirection direction) {
  const unsigned caps = snd_seq_port_info_get_capability(info);
  if (caps & SND_SEQ_PORT_CAP_NO_EXPORT) return false;
  const unsigned wanted = direction == AlsaDirection::Input
                              ? SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ
                              : SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
  return (caps & wanted) == wanted;
}

void AddPorts(snd_seq_t* seq, snd_seq_client_info_t* client, AlsaDirection direction,
              std::vector<AlsaPortInfo>& list) {
  snd_seq_port_info_t* port;
  snd_seq_port_info_alloca(&port);
  snd_seq_port_info_set_client(port, snd_seq_client_info_get_client(client));
  snd_seq_port_info_set_port(port, -1);
  while (snd_seq_query_next_port(seq, port) >= 0) {
    if (!Offered(port, direction)) continue;
    const std::string clientName = snd_seq_client_info_get_name(client);
    const std::string portName = snd_seq_port_info_get_name(port);
    list.push_back({AlsaPortList::DeviceName(clientName, portName),
                    snd_seq_port_info_get_client(port), snd_seq_port_info_get_port(port),
                    midi::DeviceName(clientName, portName)});
  }
}

}  // namespace

std::string AlsaPortList::DeviceName(const std::string& client, const std::string& port) {
  // The kernel's own sequencer clients pad their port names with blanks.
  std::string name = TrimTrailingBlanks(client) + ":" + TrimTrailingBlanks(port);
  if (name.size() <= kMaxName) return name;
  size_t cut = kMaxName;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  name.resize(cut);
  return TrimTrailingBlanks(name);
}

std::vector<AlsaPortInfo> AlsaPortList::Scan(snd_seq_t* seq, AlsaDirection direction,
                                             const std::vector<int>& excluded) {
  std::vector<AlsaPortInfo> list;
  if (!seq) return list;
  snd_seq_client_info_t* client;
  snd_seq_client_info_alloca(&client);
  snd_seq_client_info_set_client(client, -1);
  const int self = snd_seq_client_id(seq);
  while (snd_seq_query_next_client(seq, client) >= 0) {
    const int id = snd_seq_client_info_get_client(client);
    if (id == SND_SEQ_CLIENT_SYSTEM || id == self) continue;
    if (std::find(excluded.begin(), excluded.end(), id) != excluded.end()) continue;
    AddPorts(seq, client, direction, list);
  }
  return list;
}

std::optional<std::string> AlsaPortList::NameAt(snd_seq_t* seq, int client, int port) {
  snd_seq_client_info_t* clientInfo;
  snd_seq_client_info_alloca(&clientInfo);
  snd_seq_port_info_t* portInfo;
  snd_seq_port_info_alloca(&portInfo);
  if (!seq || client < 0 || port < 0 || snd_seq_get_any_client_info(seq, client, clientInfo) < 0 ||
      snd_seq_get_any_port_info(seq, client, port, portInfo) < 0) {
    return std::nullopt;
  }
  return DeviceName(snd_seq_client_info_get_name(clientInfo), snd_seq_port_info_get_name(portInfo));
}

std::optional<AlsaPortInfo> AlsaPortList::Find(const std::vector<AlsaPortInfo>& now,
                                               const std::vector<AlsaPortInfo>& before,
                                               size_t index) {
  if (index >= before.size()) return std::nullopt;
  const AlsaPortInfo& wanted = before[index];
  const auto sameName = [&](const AlsaPortInfo& p) { return p.name == wanted.name; };
  for (const AlsaPortInfo& p : now) {
    if (sameName(p) && p.client == wanted.client && p.port == wanted.port) return p;
  }
  const auto rank = std::count_if(before.begin(), before.begin() + index, sameName);
  auto seen = rank;
  for (const AlsaPortInfo& p : now) {
    if (sameName(p) && seen-- == 0) return p;
  }
  return std::nullopt;
}

}  // namespace kelvora::midi

#include "TierQuery.h"

#include <json/json.h>

#include <memory>
#include <process.h>
#include <sstream>

#include "HttpClient.h"
#include "LogFile.h"
#include "ServicesCore.h"

unsigned CTierTable::Clear() {
  unsigned g = ++m_nGeneration;
  for (auto& t : m_nTier) t.store(0);
  return g;
}

bool CTierTable::Set(unsigned nGeneration, int nPosition, int nTier) {
  if (nPosition < 0 || nPosition >= 4 || nGeneration != m_nGeneration.load()) return false;
  m_nTier[nPosition].store(nTier);
  return true;
}

namespace {

// jsoncpp's tree in the portable form the reply rules read.
JsonValue FromJsoncpp(const Json::Value& v) {
  JsonValue out;
  switch (v.type()) {
    case Json::nullValue:
      break;
    case Json::booleanValue:
      out.type = JsonValue::kBool;
      out.boolean = v.asBool();
      break;
    case Json::intValue:
      out.type = JsonValue::kNumber;
      out.number = double(v.asLargestInt());
      break;
    case Json::uintValue:
      out.type = JsonValue::kNumber;
      out.number = double(v.asLargestUInt());
      break;
    case Json::realValue:
      out.type = JsonValue::kNumber;
      out.number = v.asDouble();
      break;
    case Json::stringValue:
      out.type = JsonValue::kString;
      out.text = v.asString();
      break;
    case Json::arrayValue:
      out.type = JsonValue::kArray;
      for (Json::ArrayIndex i = 0; i < v.size(); ++i) out.items.push_back(FromJsoncpp(v[i]));
      break;
    case Json::objectValue:
      out.type = JsonValue::kObject;
      for (const auto& name : v.getMemberNames()) out.members.emplace_back(name, FromJsoncpp(v[name]));
      break;
  }
  return out;
}

unsigned __stdcall TierThread(void* p) {
  std::unique_ptr<TIER_QUERY> q(static_cast<TIER_QUERY*>(p));
  QueryPlayerTiers(*q);
  return 0;
}

}  // namespace

std::string BuildTierQueryUrl(const std::string& strTemplate, const std::vector<std::string>& seatNames) {
  return BuildTierUrl(strTemplate, UrlEncode(AnsiToUtf8(JoinTierNames(seatNames))));
}

BOOL StartTierQuery(const std::string& strTemplate, const std::vector<std::string>& seatNames,
                    std::shared_ptr<CTierTable> pTable, CLogFile* pLog, HWND hView) {
  if (!pTable) return FALSE;
  std::unique_ptr<TIER_QUERY> q(new TIER_QUERY);
  q->strTemplate = strTemplate;
  q->seatNames = seatNames;
  q->nGeneration = pTable->Clear();
  q->pTable = std::move(pTable);
  q->pLog = pLog;
  q->hView = hView;
  uintptr_t h = _beginthreadex(nullptr, 0, TierThread, q.get(), 0, nullptr);
  if (!h) return FALSE;
  q.release();
  ::CloseHandle(reinterpret_cast<HANDLE>(h));
  return TRUE;
}

void QueryPlayerTiers(const TIER_QUERY& query) {
  if (query.strTemplate.empty()) return;
  std::string url = BuildTierQueryUrl(query.strTemplate, query.seatNames);
  // "Trebbin请求标志连接 %s"
  if (query.pLog) query.pLog->Write("Trebbin\xC7\xEB\xC7\xF3\xB1\xEA\xD6\xBE\xC1\xAC\xBD\xD3 %s", url.c_str());
  CHttpClient client;
  std::string reply;
  if (client.Request(url.c_str(), FALSE, nullptr, nullptr, &reply)) ParseTierReply(reply, query);
  client.Close();
}

int ParseTierReply(const std::string& strReply, const TIER_QUERY& query) {
  int written = 0;
  try {
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    Json::Value root;
    std::string errors;
    std::istringstream in(strReply);
    if (!Json::parseFromStream(builder, in, &root, &errors)) return 0;
    std::vector<TIER_MATCH> matches;
    InterpretTierReply(FromJsoncpp(root), query.seatNames, &matches);
    for (const TIER_MATCH& m : matches) {
      if (!query.pTable || !query.pTable->Set(query.nGeneration, m.nPosition, m.nTier)) continue;
      ++written;
      // "Trebbin排位赛接收到段位信息 当前玩家 strPlayerName = %s 当前段位 m_nPlayerOrder = %d "
      if (query.pLog)
        query.pLog->Write(
            "Trebbin\xC5\xC5\xCE\xBB\xC8\xFC\xBD\xD3\xCA\xD5\xB5\xBD\xB6\xCE\xCE\xBB\xD0\xC5\xCF\xA2 "
            "\xB5\xB1\xC7\xB0\xCD\xE6\xBC\xD2 strPlayerName = %s \xB5\xB1\xC7\xB0\xB6\xCE\xCE\xBB "
            "m_nPlayerOrder = %d ",
            m.strName.c_str(), m.nTier);
    }
    if (query.hView) ::InvalidateRect(query.hView, nullptr, FALSE);
  } catch (...) {
    // A reply the parser chokes on leaves the tiers as they are.
  }
  return written;
}

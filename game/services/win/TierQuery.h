// The ranked-tier query of each deal: a worker thread asks the tier web service for the
// players at the table and writes their tiers for the table view.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class CLogFile;

// One tier per view position, 0 for none. Written by the worker, read by the view when it paints.
class CTierTable {
 public:
  CTierTable() { Clear(); }
  int Get(int nPosition) const { return nPosition >= 0 && nPosition < 4 ? m_nTier[nPosition].load() : 0; }
  // Clears the table and starts a new query generation: a reply of an older query is dropped.
  unsigned Clear();
  // Writes a tier when the query's generation is still current.
  bool Set(unsigned nGeneration, int nPosition, int nTier);
  unsigned Generation() const { return m_nGeneration.load(); }

 private:
  std::atomic<int> m_nTier[4];
  std::atomic<unsigned> m_nGeneration{0};
};

struct TIER_QUERY {
  std::string strTemplate;             // the application's "QualifyingSign"; empty: no query
  std::vector<std::string> seatNames;  // user names by view position (ANSI), three or four
  // Shared with the document: a query still running when the document goes keeps it alive.
  std::shared_ptr<CTierTable> pTable;
  CLogFile* pLog = nullptr;  // the application's, may be null
  HWND hView = nullptr;      // repainted (without erasing) after a reply
  unsigned nGeneration = 0;
};

// Clears the table and starts the worker thread (its handle closed at once). FALSE when the
// thread cannot start.
BOOL StartTierQuery(const std::string& strTemplate, const std::vector<std::string>& seatNames,
                    std::shared_ptr<CTierTable> pTable, CLogFile* pLog, HWND hView);
// The worker's body: builds the address, asks and hands the reply on. Also callable directly.
void QueryPlayerTiers(const TIER_QUERY& query);
// The address asked for: every "%usernames%" replaced by the URL-encoded UTF-8 name list.
std::string BuildTierQueryUrl(const std::string& strTemplate, const std::vector<std::string>& seatNames);
// Parses the reply (ANSI text, JSON with comments) and writes the matching tiers; a reply
// that does not parse changes nothing. The number of tiers written.
int ParseTierReply(const std::string& strReply, const TIER_QUERY& query);

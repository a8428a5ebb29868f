// What the document asks of the program besides the connection: the boxes, the run log, the
// game log and the tier query, whose answers the table view shows beside the avatars.
#pragma once
#include <memory>

#include "DocHost.h"
#include "TierQuery.h"

class CVeskDocSite : public CDocBoxes, public CDocServices {
 public:
  // CDocBoxes
  int ShowBoxId(int stringId, uint32_t style, int countdown, const std::string& arg) override;
  int ShowBoxIdPair(int stringId, const std::string& arg, int tailId, uint32_t style, int countdown) override;
  int ShowBoxText(const std::string& text, uint32_t style, int countdown) override;
  // CDocServices
  void SetRunLogField(const char* key, const std::string& value) override;
  void WriteGameLog(const std::string& line) override;
  void StartTierQuery(const std::vector<std::string>& userNames) override;

  // A seat's tier from the latest query (0 for none).
  int SeatTier(int position) const { return m_pTiers->Get(position); }

 private:
  // The tier query writes here by view position, possibly after the document is gone.
  std::shared_ptr<CTierTable> m_pTiers = std::make_shared<CTierTable>();
};

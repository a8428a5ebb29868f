// What the parts of the program in game/app (the connection, the sites of the document, the
// frame and the view, the chat and the complaints, the boxes) ask of the application object.
// The application implements it and owns those parts; they include this header and never
// the application's, so the dependencies run one way.
#pragma once
#include <windows.h>

#include <string>

class CGameViewSite;
class CLogFile;
class CTableConnection;
class CVeskDoc;
class CVeskDocSite;
struct CHANNEL_STATE;

class CProgram {
 public:
  virtual ~CProgram() = default;
  // The document while it exists (null before and after).
  virtual CVeskDoc* GetVeskDoc() const = 0;
  // A new document gets the hosts in one call; null when it goes.
  virtual void AdoptDocument(CVeskDoc* pDoc) = 0;
  virtual CTableConnection& Connection() = 0;
  virtual CVeskDocSite& DocSite() = 0;
  virtual CGameViewSite& ViewSite() = 0;
  virtual CLogFile& GameLog() = 0;
  // The entered table: seats by view position, options, watch mode.
  virtual const CHANNEL_STATE& Channel() const = 0;
  virtual bool GameDataArrived() const = 0;
  virtual WORD ChatLoginValue() const = 0;
  // LangRsc.ini [TrebbinQualifying]: the tier query's address and the panel's template.
  virtual std::string QualifyingSign() const = 0;
  virtual std::string AdvertisingTemplate() const = 0;
  virtual std::string NetSkinFolder() const = 0;  // empty without a net skin
  virtual std::string SharePath() = 0;            // the platform's shared folder
  // A watcher's window once the game data arrived.
  virtual void ShowMainWindow() = 0;
  // The main window as a JPEG in the folder; the saved file's path, empty when none.
  virtual std::string SaveScreenshot(const char* folder) = 0;
  virtual void SetRunLogField(const char* key, const char* value) = 0;
  // The crash-report library's send; FALSE while the switch is off or the line was not taken.
  virtual BOOL SendRemoteLog(int level, const char* topic, const char* text, const char* reason) = 0;
  virtual void QueueRemoteLog(int level, const char* topic, const char* text, const char* reason) = 0;
};

// The program's one application object.
CProgram& Program();

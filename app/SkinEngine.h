#pragma once
// The skinning component: draws every window in one look, given as a Qt style sheet. It
// starts active with a built-in look; a skin file replaces the look, deactivating it
// returns every window to the system's own look.

#include <QString>

class SkinEngine {
 public:
  SkinEngine();

  // Loads a skin file. A missing or unreadable file keeps the current look; the returned
  // text then says why (empty on success).
  QString LoadSkinFile(const QString& path);
  void SetActive(bool active);
  bool Active() const { return active_; }
  const QString& CurrentSheet() const { return sheet_; }
  const QString& CurrentFile() const { return file_; }

  static const char* BuiltInSheet();

 private:
  void Apply() const;

  QString sheet_;
  QString file_;  // empty for the built-in look
  bool active_ = true;
};

// Applies skin code 0 to 6: 0 deactivates the component, 1 to 6 load SkinsFile/0n.ats from
// the program's folder and activate it; any other code changes nothing. Returns the
// problem with the skin file, if any.
QString ApplySkinCode(SkinEngine& engine, int code);

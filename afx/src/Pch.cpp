// The translation unit that builds the precompiled afx headers the Windows tree shares.

#pragma once
// The frame's file dialogs: Open (3), Open Backup (56), Open Sample (55) and Import (9). Each
// asks for a file with QFileDialog and opens it through OpenFileByPath with its mode.

#include <string>

namespace kvt {

class TTarlowmedeFrame;

void CmFileOpen(TTarlowmedeFrame& frame);
void CmFileOpenBackup(TTarlowmedeFrame& frame);
void CmFileOpenSample(TTarlowmedeFrame& frame);
void CmFileImport(TTarlowmedeFrame& frame);

}  // namespace kvt

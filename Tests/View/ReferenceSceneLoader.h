// Reads a reference scene (Fixtures/View/*.scene) into a document: its view, settings and elements.
#pragma once

#include "ViewTestSupport.h"

#include <functional>
#include <string>

// The scene's "size" line is handed to useViewSize when it is read, before the view that follows it.
void LoadReferenceScene(DocWindowRecord* doc, const std::string& path,
                        const std::function<void(SInt16, SInt16)>& useViewSize);

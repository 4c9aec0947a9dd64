// Making a new document with its factory defaults, bringing documents to the front, the Window
// menu with one item per open document, and freeing a document's records when it is closed.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kWindowMenuId = 195;
constexpr SInt16 kWindowMenuFixedItems = 23;
constexpr SInt16 kNameInUseAlert = 151;
constexpr SInt16 kGeneralTextList = 5000;
constexpr SInt16 kUntitledNameItem = 42;
constexpr SInt16 kNumberedUntitledNameItem = 43;
constexpr SInt16 kLayerNameItem = 100;

// Makes a document named `name` (or a free default name when it is empty) and links it at the
// tail of the open documents. A name already open asks through alert 151: button 1 takes the
// default name, any other makes nothing. False when nothing was made (also when memory runs out).
Boolean NewDocument(DocWindowRecord** document, ConstStr255Param name, SInt16 windowFlag);
// The first free default name: item 42, else item 43 followed by 2, 3, ...
void DefaultDocumentName(Str255 name);
// Factory defaults: title block, list heads, work records, settings, layers, the first variable,
// undo copies and working buffers. False when memory runs out.
Boolean InitDocumentDefaults(DocWindowRecord* doc, ConstStr255Param name);
void SetFactoryDocSettings(DocSettings* settings);
// Item 100 followed by "0000", with the layer's digits written over the end ("...0007").
void MakeLayerName(SInt16 layer, Str255 name);

DocWindowRecord* FrontDocument();
void DeactivateDocument(DocWindowRecord* doc);
void ActivateDocument(DocWindowRecord* doc);
void SelectDocumentByIndex(DocWindowRecord* frontDocument, SInt16 index);
// Keeps the Window menu's first 23 items and adds a separator and one item per open document,
// with the command keys 1 to 9 and 0; the front document is checked.
void RebuildWindowMenu();

// Unlinks the document from the open documents and frees everything the model allocated for it,
// its undo journal included. The window is the shell's to dispose first.
void DisposeDocumentRecords(DocWindowRecord* doc);

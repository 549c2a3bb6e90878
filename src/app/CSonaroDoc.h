#pragma once
// The document of the single-document frame. All data lives in the
// ParameterImage that the application object points to; the document holds
// nothing and does nothing of its own. It exists so that New and Open keep
// their framework shape: one document, one frame, one view.

class CSonaroDoc {};

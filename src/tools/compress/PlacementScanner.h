#pragma once
// Finds where a page draws its images: follows the page's content streams with the graphics
// state's transformation matrix (cm, q, Q) into the form XObjects they call (with each form's
// /Matrix), and notes, for every image, the largest size it is drawn at, in points. Every number
// comes from the file, so nesting, the number of forms followed and the saved states are capped;
// a stream that cannot be read marks the images it could have drawn as unknown, so they are
// left alone.

#include "Matrix.h"

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <map>
#include <set>
#include <vector>

class PlacementScanner {
public:
    struct Placement {
        double widthPoints = 0;
        double heightPoints = 0;
        int firstPage = 0; // 1-based page where the image is first drawn
    };

    static constexpr int kMaxFormDepth = 12;
    static constexpr int kMaxFormCallsPerPage = 10000;
    static constexpr std::size_t kMaxSavedStates = 4096;

    void scanPage(QPDFPageObjectHelper page, int pageNumber);

    const std::map<QPDFObjGen, Placement>& placements() const { return m_placements; }
    // Images whose every placement is not known: never to be changed.
    const std::set<QPDFObjGen>& unknown() const { return m_unknown; }

private:
    class Callbacks;
    void scanStream(QPDFObjectHandle stream, QPDFObjectHandle resources, const Matrix& ctm, int depth,
                    bool isPage, QPDFPageObjectHelper* page);
    void drawn(QPDFObjectHandle xobject, QPDFObjectHandle resources, const Matrix& ctm, int depth);
    void markAllUnknown(QPDFObjectHandle resources);

    std::map<QPDFObjGen, Placement> m_placements;
    std::set<QPDFObjGen> m_unknown;
    std::vector<QPDFObjGen> m_formsOnPath;
    int m_pageNumber = 0;
    int m_formCalls = 0;
};

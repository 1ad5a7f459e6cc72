#pragma once
// What the document needs of the view that holds its text: emptying it, and the load and
// save of the text in the file's encoding. The view implements it, so the document knows
// no view.

namespace platform::fx { class Archive; }

class CDocumentText {
public:
    virtual ~CDocumentText() = default;
    virtual void DeleteText() = 0;
    virtual void SerializeEncoded(platform::fx::Archive& ar) = 0;
};

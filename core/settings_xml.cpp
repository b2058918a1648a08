#include "core/settings_xml.h"

#include <tinyxml.h>

namespace qel {

namespace {

TiXmlElement* FirstElementChild(TiXmlNode& parent) {
    for (TiXmlNode* n = parent.FirstChild(); n; n = n->NextSibling())
        if (TiXmlElement* e = n->ToElement()) return e;
    return nullptr;
}

TiXmlElement* FirstElementNamed(TiXmlElement& root, const std::string& name) {
    for (TiXmlElement* e = root.FirstChildElement(); e; e = e->NextSiblingElement())
        if (name == e->Value()) return e;
    return nullptr;
}

}  // namespace

bool WriteSettingValue(const std::string& path, bool fileExists, const std::string& name,
                       const std::string& value) {
    TiXmlDocument doc(path.c_str());
    TiXmlElement* root = nullptr;
    if (!fileExists) {
        root = new TiXmlElement(kSettingsRoot);
        doc.LinkEndChild(root);
    } else {
        // A broken file is never rewritten: the platform may own content we cannot read.
        if (!doc.LoadFile()) return false;
        root = FirstElementChild(doc);
        if (!root) return false;
    }
    TiXmlElement* element = FirstElementNamed(*root, name);
    if (element) {
        element->Clear();
    } else {
        element = new TiXmlElement(name.c_str());
        root->LinkEndChild(element);
    }
    element->LinkEndChild(new TiXmlText(value.c_str()));
    return doc.SaveFile();
}

bool ReadSettingValue(const std::string& path, const std::string& name, std::string& value) {
    TiXmlDocument doc(path.c_str());
    if (!doc.LoadFile()) return false;
    TiXmlElement* root = FirstElementChild(doc);
    if (!root) return false;
    TiXmlElement* element = FirstElementNamed(*root, name);
    if (!element) return false;
    TiXmlNode* first = element->FirstChild();
    if (first && first->ToText() && first->Value()) value = first->Value();
    return true;
}

}  // namespace qel

#include "app/ProductConfig.h"

#include "app/DeviceName.h"
#include "xml/XmlDocument.h"

namespace kovrin {

bool ReadDeviceNameFromConfig(const std::string& config_path) {
    XmlDocument document;
    if (!document.LoadFile(config_path)) {
        return false;
    }
    if (!document.FindElement("config") || !document.EnterElement() ||
        !document.FindElement("software")) {
        return false;
    }
    return SetDeviceName(document.GetAttribute("name"));
}

SoftwareInfo ReadSoftwareInfo(XmlDocument& document) {
    SoftwareInfo info;
    if (!document.FindElement("software")) {
        return info;
    }
    info.found = true;
    info.version = document.GetAttribute("version");
    if (!document.EnterElement()) {
        return info;
    }
    // Each search goes on after the element found before it, so an element
    // out of order is not found.
    if (document.FindElement("website")) {
        info.website = document.GetAttribute("url");
    }
    if (document.FindElement("store")) {
        info.store = document.GetAttribute("url");
    }
    if (document.FindElement("upgrade")) {
        info.upgrade = document.GetAttribute("url");
    }
    if (document.FindElement("copyright")) {
        info.copyright = document.GetAttribute("info");
    }
    document.LeaveElement();
    return info;
}

SoftwareInfo ReadSoftwareInfoFromConfig(const std::string& config_path) {
    XmlDocument document;
    if (!document.LoadFile(config_path) || !document.FindElement("config") ||
        !document.EnterElement()) {
        return {};
    }
    document.FindElement("device.info");
    return ReadSoftwareInfo(document);
}

} // namespace kovrin

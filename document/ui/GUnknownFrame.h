// The property frame of the placeholder entity: the stored block, read-only, as the document file holds
// it.
#pragma once
#include <QWidget>

#include "document/Geometry.h"

class QLabel;
class QPlainTextEdit;

namespace sarnova {

class TGeoUnknown;
class TVkGroupBox;
class TVkGroupBoxManager;

class TGUnknownFrame : public QWidget, public IGeometryFrame {
    Q_OBJECT
public:
    // The heading is the class keyword without its first character: "Unknown Data".
    TGUnknownFrame(TGeoUnknown& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    // The block's keyword line in brackets, then its stored lines.
    void Refresh() override;
    void GeometryDestroyed() override { Entity = nullptr; }

    QLabel* EntityClass;
    TVkGroupBox* VkGroupBox2;
    QPlainTextEdit* Memo1;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    TGeoUnknown* Entity;
};

}  // namespace sarnova

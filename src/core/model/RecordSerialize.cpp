// Record bodies in the record archive, in the order library files and the clipboard carry them.
#include "model/CDataInfItem.h"
#include "model/CDataLev.h"
#include "model/CDataObjectItem.h"
#include "model/CDataSector.h"
#include "model/ModelOps.h"
#include "model/RecordArchive.h"

namespace morvi {

void CDataTexture::Serialize(RecordArchive& ar) {
    CDataLev* lev = ar.context().m_pLev;
    if (ar.IsStoring()) {
        ar.WriteString(lev ? lev->GetTextureName(m_nTexture) : std::string());
    } else {
        // A texture travels by name; the receiving level appends names it lacks.
        const std::string name = ar.ReadString();
        if (!name.empty() && lev) m_nTexture = lev->FindOrAddTexture(name);
    }
    ar.Double(m_dOffsetX);
    ar.Double(m_dOffsetY);
    ar.Int(m_nTexFlag);
}

void CDataVertex::Serialize(RecordArchive& ar) {
    ar.Double(m_dX);
    ar.Double(m_dZ);
}

void CDataWall::Serialize(RecordArchive& ar) {
    for (int* field : {&m_nIndex, &m_nLeft, &m_nRight, &m_nLight, &m_nFlags1, &m_nFlags2, &m_nFlags3, &m_nAdjoin,
                       &m_nMirror, &m_nWalk})
        ar.Int(*field);
    m_Mid.Serialize(ar);
    m_Top.Serialize(ar);
    m_Bottom.Serialize(ar);
    m_Sign.Serialize(ar);
}

void CDataSector::Serialize(RecordArchive& ar) {
    ar.Int(m_nIndex);
    ar.Text(m_strName);
    ar.Int(m_nAmbient);
    ar.Double(m_dFloorAltitude);
    ar.Double(m_dCeilingAltitude);
    ar.Double(m_dSecondAltitude);
    ar.Int(m_nFlags1);
    ar.Int(m_nFlags2);
    ar.Int(m_nFlags3);
    ar.SerializeArray(m_pWalls);
    ar.SerializeArray(m_pVertices);
    m_FloorTexture.Serialize(ar);
    m_CeilingTexture.Serialize(ar);
    // The layer is not carried: a decoded sector lands on the layer being edited.
    if (ar.IsLoading()) m_nLayer = ar.context().m_nLayer;
}

void CDataObjectSeq::Serialize(RecordArchive& ar) {
    ar.Text(m_strKey);
    ar.Text(m_strValue);
}

void CDataObjectItem::Serialize(RecordArchive& ar) {
    ar.Int(m_nIndex);
    ar.Text(m_strClass);
    ar.Text(m_strData);
    ar.Int(m_nData);
    for (double* field : {&m_dX, &m_dY, &m_dZ, &m_dPitch, &m_dYaw, &m_dRoll}) ar.Double(*field);
    ar.Int(m_nDiff);
    ar.Colour32(m_crColour);
    ar.SerializeArray(m_pSeqs);
    if (ar.IsLoading()) {
        m_dX = RoundHundredths(m_dX);
        m_dY = RoundHundredths(m_dY);
        m_dZ = RoundHundredths(m_dZ);
    }
}

void CDataInfItem::Serialize(RecordArchive& ar) {
    ar.Text(m_strType);
    ar.Text(m_strName);
    ar.Int(m_nNum);
    ar.SerializeStrings(m_Lines);
}

} // namespace morvi

#pragma once

#include <QString>

namespace invorator {

// The company that uses the program, as loaded at start-up; the support request names it.
class clsMandant
{
public:
    QString Unternehmen() const { return m_unternehmen; }
    void setUnternehmen(const QString &v) { m_unternehmen = v; }
    QString UnternehmenEMail() const { return m_unternehmenEMail; }
    void setUnternehmenEMail(const QString &v) { m_unternehmenEMail = v; }
    QString Sprache() const { return m_sprache; }
    void setSprache(const QString &v) { m_sprache = v; }
    QString Land() const { return m_land; }
    void setLand(const QString &v) { m_land = v; }
    QString Strasse() const { return m_strasse; }
    void setStrasse(const QString &v) { m_strasse = v; }
    QString PLZ() const { return m_plz; }
    void setPLZ(const QString &v) { m_plz = v; }
    QString Ort() const { return m_ort; }
    void setOrt(const QString &v) { m_ort = v; }
    QString KontaktName() const { return m_kontaktName; }
    void setKontaktName(const QString &v) { m_kontaktName = v; }
    QString KontaktEmail() const { return m_kontaktEmail; }
    void setKontaktEmail(const QString &v) { m_kontaktEmail = v; }
    QString KontaktTelefon() const { return m_kontaktTelefon; }
    void setKontaktTelefon(const QString &v) { m_kontaktTelefon = v; }

private:
    QString m_unternehmen;
    QString m_unternehmenEMail;
    QString m_sprache;
    QString m_land;
    QString m_strasse;
    QString m_plz;
    QString m_ort;
    QString m_kontaktName;
    QString m_kontaktEmail;
    QString m_kontaktTelefon;
};

} // namespace invorator

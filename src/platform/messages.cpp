#include "messages.h"

namespace Messages {

QString missingFolder()
{
    return QStringLiteral("Opgegeven map bestaat niet.");
}

QString notAFile(const QString& fileName)
{
    return QStringLiteral("Op de aangegeven locatie staat al een map of iets anders dan een "
                          "bestand met de naam \"%1\". Dat wordt niet vervangen; kies een "
                          "andere naam.")
        .arg(fileName);
}

QString writeFailure(const WriteResult& result, ImageFormat format)
{
    switch (result.problem) {
    case WriteProblem::None:
        return {};
    case WriteProblem::AlreadyExists:
        return QStringLiteral("Er staat al een bestand met deze naam.");
    case WriteProblem::NoPermission:
        return QStringLiteral("Je hebt geen toestemming om op deze plek een bestand op te slaan.");
    case WriteProblem::ReadOnlyFile:
        return QStringLiteral("Het bestaande bestand is alleen-lezen en kan daarom niet worden "
                              "vervangen.");
    case WriteProblem::InUse:
        return QStringLiteral("Het bestand is in gebruik door een ander programma. Sluit het "
                              "daar en probeer het opnieuw.");
    case WriteProblem::ReadOnlyMedium:
        return QStringLiteral("Op deze schijf kan alleen gelezen worden (schrijfbeveiligd).");
    case WriteProblem::DiskFull:
        return QStringLiteral("De schijf is vol.");
    case WriteProblem::NameTooLong:
        return QStringLiteral("De bestandsnaam of het pad is te lang.");
    case WriteProblem::FolderGone:
        return missingFolder();
    case WriteProblem::IsFolder:
        return QStringLiteral("Er staat al een map met deze naam.");
    case WriteProblem::NotEncoded:
        return QStringLiteral("Het plaatje kon niet als %1-bestand worden opgemaakt.")
            .arg(extensionOf(format).toString().toUpper());
    case WriteProblem::Unknown:
        break;
    }
    return result.systemText.isEmpty()
               ? QStringLiteral("Het bestand kon niet worden geschreven.")
               : QStringLiteral("Het bestand kon niet worden geschreven (%1).")
                     .arg(result.systemText);
}

QString folderFailure(const WriteResult& result)
{
    switch (result.problem) {
    case WriteProblem::InUse:
        return QStringLiteral("De map of een bestand erin is in gebruik door een ander programma "
                              "(een venster van de Verkenner, een viewer, een virusscanner). "
                              "Sluit het daar en probeer het opnieuw.");
    case WriteProblem::NoPermission:
        return QStringLiteral("Je hebt geen toestemming om op deze plek een map te maken of te "
                              "vervangen.");
    case WriteProblem::AlreadyExists:
        return QStringLiteral("Er staat al iets met deze naam.");
    case WriteProblem::Unknown:
        return result.systemText.isEmpty()
                   ? QStringLiteral("De map kon niet op haar plaats worden gezet.")
                   : QStringLiteral("De map kon niet op haar plaats worden gezet (%1).")
                         .arg(result.systemText);
    default:
        // The disk, the medium, the length of the name and the folder around it say the same
        // for a folder as for a file.
        return writeFailure(result, ImageFormat::Png);
    }
}

QString nameRefusal(const SaveTarget::NameProblem& problem)
{
    using SaveTarget::NameRefusal;
    const bool windows = problem.rules == SaveTarget::NameRules::Windows;
    switch (problem.refusal) {
    case NameRefusal::None:
        return {};
    case NameRefusal::Nul:
        return QStringLiteral("De bestandsnaam bevat een nulteken; dat kan in geen enkele "
                              "bestandsnaam staan.");
    case NameRefusal::Separator:
        return windows ? QStringLiteral("De bestandsnaam mag geen \\ of / bevatten: die tekens "
                                        "scheiden mappen.")
                       : QStringLiteral("De bestandsnaam mag geen / bevatten: dat teken scheidt "
                                        "mappen.");
    case NameRefusal::ControlCharacter:
        return QStringLiteral("De bestandsnaam bevat een stuurteken (zoals een tab); dat kan niet "
                              "in een bestandsnaam staan.");
    case NameRefusal::ReservedCharacter:
        return QStringLiteral("De bestandsnaam mag geen van deze tekens bevatten: "
                              "< > : \" / \\ | ? *");
    case NameRefusal::DeviceName:
        return QStringLiteral("\"%1\" is de naam van een apparaat van Windows en kan geen "
                              "bestandsnaam zijn.")
            .arg(problem.device);
    case NameRefusal::TrailingDotOrSpace:
        return QStringLiteral("Een bestandsnaam mag niet op een punt of een spatie eindigen.");
    case NameRefusal::NameTooLong:
        return QStringLiteral("De bestandsnaam is te lang voor deze map: %1 %3 met \"%4\" erbij, "
                              "ten hoogste %2 %3 kan.")
            .arg(problem.length)
            .arg(problem.limit)
            .arg(windows ? QStringLiteral("tekens") : QStringLiteral("bytes"),
                 SaveTarget::extension);
    case NameRefusal::PathTooLong:
        return QStringLiteral("De map en de bestandsnaam samen vormen een te lang pad: ten "
                              "hoogste %1 bytes kan.")
            .arg(problem.limit);
    }
    return {};
}

QString faceFailure(const FaceError& error)
{
    const QString picture = QString::fromStdString(error.picture());
    switch (error.problem()) {
    case FaceError::Problem::Unknown:
        return QStringLiteral("Onbekende afbeelding: %1.").arg(picture);
    case FaceError::Problem::Unreadable:
        return QStringLiteral("De afbeelding %1 ontbreekt in het programma of is beschadigd.")
            .arg(picture);
    }
    return {};
}

} // namespace Messages

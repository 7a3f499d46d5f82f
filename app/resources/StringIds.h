#pragma once

#include <cstdint>

namespace NSQuillet {

// Entries of the program's string table (resources/strings-129.txt). Grouped by hundreds:
// 100 application, 200 file types and file dialogs, 300 lengthy-operation titles, 320 progress
// texts, 400 undo names, 500 waveform context menu, 600 units, 700 toolbar help texts,
// 800 dialogs, 960 edit-menu labels, 5000 toolbar labels, 7100 envelope, 8100 equalizer and
// 9100 transient shaper presets.
namespace NSStringIds {
inline constexpr int32_t kCompanyName = 100;
inline constexpr int32_t kProgramName = 101;
inline constexpr int32_t kAboutMenuTitle = 102;
inline constexpr int32_t kUntitled = 103;
inline constexpr int32_t kDropSoundFilesHere = 104;
inline constexpr int32_t kAboutLine = 105;
inline constexpr int32_t kAboutLibrariesHeading = 106;
inline constexpr int32_t kNeedsNewerSystem = 110;
inline constexpr int32_t kCannotRun = 111;
inline constexpr int32_t kPreferencesFileName = 112;
inline constexpr int32_t kNeedsNewerSystemLibrary = 113;

inline constexpr int32_t kFileType_LUX2 = 200;
inline constexpr int32_t kFileType_LUX1 = 201;
inline constexpr int32_t kFileType_QLT = 202;
inline constexpr int32_t kFileType_Wave = 203;
inline constexpr int32_t kFileType_AIFF = 204;
inline constexpr int32_t kFileType_MIDI = 205;
inline constexpr int32_t kFileType_SoundFont = 206;
inline constexpr int32_t kFileType_Program = 207;
inline constexpr int32_t kOpenAudioFile = 210;
inline constexpr int32_t kExportSound = 211;
inline constexpr int32_t kSoundAndLoopFiles = 212;

inline constexpr int32_t kOperation_Open = 300;
inline constexpr int32_t kOperation_Analyze = 301;
inline constexpr int32_t kOperation_Render = 302;
inline constexpr int32_t kOperation_Save = 303;
inline constexpr int32_t kOperation_CopyLoop = 304;
inline constexpr int32_t kOperation_Normalize = 305;
inline constexpr int32_t kOperation_ConvertToMono = 306;
inline constexpr int32_t kOperation_ConvertSampleFormat = 307;
inline constexpr int32_t kOperation_CropLoop = 308;
inline constexpr int32_t kOperation_RemoveDC = 309;
inline constexpr int32_t kOperation_ReAnalyze = 310;
inline constexpr int32_t kOperation_AddSlicesAt16ths = 311;
inline constexpr int32_t kOperation_PasteAsNewDocument = 312;
inline constexpr int32_t kOperation_Export = 313;
inline constexpr int32_t kOperation_Play = 314;

inline constexpr int32_t kProgress_ReadingLoopSamples = 320;
inline constexpr int32_t kProgress_ReadingSecondChannel = 321;
inline constexpr int32_t kProgress_FindingSlices = 322;
inline constexpr int32_t kProgress_NormalizingSearchingPeak = 323;
inline constexpr int32_t kProgress_NormalizingChangingGain = 324;
inline constexpr int32_t kProgress_ExtractingChannel = 325;
inline constexpr int32_t kProgress_MixingChannels = 326;
inline constexpr int32_t kProgress_ConvertingRatePass1 = 327;
inline constexpr int32_t kProgress_ConvertingRatePass2 = 328;
inline constexpr int32_t kProgress_CroppingSample = 329;
inline constexpr int32_t kProgress_RemovingDC = 330;
inline constexpr int32_t kProgress_RenderingLoop = 331;
inline constexpr int32_t kProgress_PlayingLoop = 332;
inline constexpr int32_t kProgress_PlayingSlice = 333;
inline constexpr int32_t kProgress_PlayingSound = 334;

inline constexpr int32_t kUndo_ChangeLoopLength = 400;
inline constexpr int32_t kUndo_ChangeTimeSignature = 401;
inline constexpr int32_t kUndo_ChangePitch = 402;
inline constexpr int32_t kUndo_ChangePreviewTempo = 403;
inline constexpr int32_t kUndo_TogglePreviewPlay = 404;
inline constexpr int32_t kUndo_ToggleExportAsOneSample = 405;
inline constexpr int32_t kUndo_ToggleSilenceSelected = 406;
inline constexpr int32_t kUndo_SetLoop = 407;
inline constexpr int32_t kUndo_MoveLeftLocator = 408;
inline constexpr int32_t kUndo_MoveRightLocator = 409;
inline constexpr int32_t kUndo_ChangeSensitivity = 410;
inline constexpr int32_t kUndo_ChangeGateSensitivity = 411;
inline constexpr int32_t kUndo_MoveSlice = 412;
inline constexpr int32_t kUndo_SelectSlice = 413;
inline constexpr int32_t kUndo_LockSlice = 414;
inline constexpr int32_t kUndo_LockSlices = 415;
inline constexpr int32_t kUndo_UnlockSlice = 416;
inline constexpr int32_t kUndo_UnlockSlices = 417;
inline constexpr int32_t kUndo_MuteSlice = 418;
inline constexpr int32_t kUndo_MuteSlices = 419;
inline constexpr int32_t kUndo_UnmuteSlice = 420;
inline constexpr int32_t kUndo_UnmuteSlices = 421;
inline constexpr int32_t kUndo_Normalize = 422;
inline constexpr int32_t kUndo_ConvertToMono = 423;
inline constexpr int32_t kUndo_ConvertSampleFormat = 424;
inline constexpr int32_t kUndo_CropLoop = 425;
inline constexpr int32_t kUndo_RemoveDC = 426;
inline constexpr int32_t kUndo_ReAnalyze = 427;
inline constexpr int32_t kUndo_AddSlicesAt16ths = 428;
inline constexpr int32_t kUndo_ToggleEnvelope = 430;
inline constexpr int32_t kUndo_ChangeEnvelopeAttack = 431;
inline constexpr int32_t kUndo_ChangeEnvelopeDecay = 432;
inline constexpr int32_t kUndo_ChangeEnvelopeStretch = 433;
inline constexpr int32_t kUndo_SelectEnvelopePreset = 434;
inline constexpr int32_t kUndo_ChangeProcessingGain = 440;
inline constexpr int32_t kUndo_ToggleTransientShaper = 441;
inline constexpr int32_t kUndo_ChangeTransientShaperAttack = 442;
inline constexpr int32_t kUndo_ChangeTransientShaperRelease = 443;
inline constexpr int32_t kUndo_ChangeTransientShaperThreshold = 444;
inline constexpr int32_t kUndo_ChangeTransientShaperRatio = 445;
inline constexpr int32_t kUndo_SelectTransientShaperPreset = 446;
inline constexpr int32_t kUndo_ToggleEqualizer = 450;
inline constexpr int32_t kUndo_ChangeEqualizerLowCut = 451;
inline constexpr int32_t kUndo_ChangeEqualizerLowFreq = 452;
inline constexpr int32_t kUndo_ChangeEqualizerLowGain = 453;
inline constexpr int32_t kUndo_ChangeEqualizerLowQ = 454;
inline constexpr int32_t kUndo_ChangeEqualizerHighCut = 455;
inline constexpr int32_t kUndo_ChangeEqualizerHighFreq = 456;
inline constexpr int32_t kUndo_ChangeEqualizerHighGain = 457;
inline constexpr int32_t kUndo_ChangeEqualizerHighQ = 458;
inline constexpr int32_t kUndo_SelectEqualizerPreset = 459;
inline constexpr int32_t kUndo_DeleteSlices = 460;
inline constexpr int32_t kUndo_InsertSlice = 461;
inline constexpr int32_t kUndo_InvertSelection = 462;
inline constexpr int32_t kUndo_SelectAllSlices = 463;

inline constexpr int32_t kMenu_MagnifyToFit = 500;
inline constexpr int32_t kMenu_MagnifyToFitLoop = 501;
inline constexpr int32_t kMenu_MagnifyToFitSlice = 502;
inline constexpr int32_t kMenu_JumpToCursor = 503;
inline constexpr int32_t kMenu_SetLeftLocatorToThisSlice = 504;
inline constexpr int32_t kMenu_SetRightLocatorToThisSlice = 505;
inline constexpr int32_t kMenu_SetLoopAroundThisSlice = 506;
inline constexpr int32_t kMenu_LockSlice = 507;
inline constexpr int32_t kMenu_UnlockSlice = 508;
inline constexpr int32_t kMenu_MuteSlice = 509;
inline constexpr int32_t kMenu_UnmuteSlice = 510;
inline constexpr int32_t kMenu_LockSlices = 511;
inline constexpr int32_t kMenu_UnlockSlices = 512;
inline constexpr int32_t kMenu_MuteSlices = 513;
inline constexpr int32_t kMenu_UnmuteSlices = 514;

inline constexpr int32_t kByteUnit = 600;
inline constexpr int32_t kBytesUnit = 601;
inline constexpr int32_t kKilobyteUnit = 602;
inline constexpr int32_t kMegabyteUnit = 603;
inline constexpr int32_t kGigabyteUnit = 604;
inline constexpr int32_t kSecondsUnit = 607;
inline constexpr int32_t kMinutesUnit = 609;
inline constexpr int32_t kEndlessSeconds = 611;
inline constexpr int32_t kBPMUnit = 612;
inline constexpr int32_t kBarsUnit = 613;
inline constexpr int32_t kDecibels = 614;
inline constexpr int32_t kMinusInfinityDecibels = 615;
inline constexpr int32_t kHertz = 616;
inline constexpr int32_t kKilohertz = 617;
inline constexpr int32_t kMilliseconds = 618;
inline constexpr int32_t kNone = 625;
inline constexpr int32_t kUnknown = 626;
inline constexpr int32_t kSliceUnit = 627;
inline constexpr int32_t kSlicesUnit = 628;
inline constexpr int32_t kTempoAboveLimit = 629;
inline constexpr int32_t kBitDepth = 631;
inline constexpr int32_t kPercent = 632;
inline constexpr int32_t kPreviewTempoPattern = 630;

// Toolbar help texts, shown as tooltips.
inline constexpr int32_t kHelp_ArrowTool = 700;
inline constexpr int32_t kHelp_MuteTool = 701;
inline constexpr int32_t kHelp_LockTool = 702;
inline constexpr int32_t kHelp_PenTool = 703;
inline constexpr int32_t kHelp_PlayLoop = 704;
inline constexpr int32_t kHelp_PlayCurrentSlice = 705;
inline constexpr int32_t kHelp_PlayPreviousSlice = 706;
inline constexpr int32_t kHelp_PlayCurrentSliceAndNext = 707;
inline constexpr int32_t kHelp_Stop = 708;
inline constexpr int32_t kHelp_PreviewToggle = 710;
inline constexpr int32_t kHelp_PreviewTempo = 711;
inline constexpr int32_t kHelp_PreviewPitch = 712;
inline constexpr int32_t kHelp_LoopLength = 713;
inline constexpr int32_t kHelp_BarLength = 714;
inline constexpr int32_t kHelp_BeatLength = 715;
inline constexpr int32_t kHelp_TimeSignature = 716;
inline constexpr int32_t kHelp_Sensitivity = 717;
inline constexpr int32_t kHelp_GateSensitivity = 718;
inline constexpr int32_t kHelp_ProcessingGain = 719;
inline constexpr int32_t kHelp_SilenceSelected = 720;
inline constexpr int32_t kHelp_EffectOnOff = 721;
inline constexpr int32_t kHelp_AttackLength = 722;
inline constexpr int32_t kHelp_DecayLength = 723;
inline constexpr int32_t kHelp_StretchAmount = 724;
inline constexpr int32_t kHelp_AttackTime = 725;
inline constexpr int32_t kHelp_ReleaseTime = 726;
inline constexpr int32_t kHelp_ThresholdValue = 727;
inline constexpr int32_t kHelp_RatioValue = 728;
inline constexpr int32_t kHelp_GainChangeMeter = 729;
inline constexpr int32_t kHelp_LowCutoff = 730;
inline constexpr int32_t kHelp_LowFrequency = 731;
inline constexpr int32_t kHelp_LowGain = 732;
inline constexpr int32_t kHelp_LowQ = 733;
inline constexpr int32_t kHelp_HighCutoff = 734;
inline constexpr int32_t kHelp_HighFrequency = 735;
inline constexpr int32_t kHelp_HighGain = 736;
inline constexpr int32_t kHelp_HighQ = 737;
inline constexpr int32_t kHelp_Presets = 738;

inline constexpr int32_t kLoopInformationTitle = 800;
inline constexpr int32_t kInformationForPattern = 801;
inline constexpr int32_t kLoopLengthPattern = 802;
inline constexpr int32_t kSampleFormatPattern = 803;
inline constexpr int32_t kConvertSampleFormatTitle = 804;
inline constexpr int32_t kConvertToMonoTitle = 805;
inline constexpr int32_t kExportSettingsTitle = 806;
inline constexpr int32_t kExportMIDIWithSameName = 808;
inline constexpr int32_t kUseChannel = 830;
inline constexpr int32_t kSampleRateLabel = 822;
inline constexpr int32_t kBitDepthLabel = 823;
inline constexpr int32_t kMonoLeft = 827;
inline constexpr int32_t kMonoRight = 828;
inline constexpr int32_t kMonoMix = 829;
inline constexpr int32_t kStereo = 831;
inline constexpr int32_t kMono = 832;

inline constexpr int32_t kCropToLoopWhenExportingAsOneSample = 807;
inline constexpr int32_t kPreferencesTitle = 809;
inline constexpr int32_t kGeneralPage = 810;
inline constexpr int32_t kViewStereoFilesAsSumOfLR = 814;
inline constexpr int32_t kAlwaysMoveLeftLocatorToFirstSlice = 815;
inline constexpr int32_t kDefaultBarsToOne = 859;
inline constexpr int32_t kUnitsForHorizontalRuler = 812;
inline constexpr int32_t kRulerUnitItems = 813;
inline constexpr int32_t kSlicesLabel = 839;
inline constexpr int32_t kOriginalLabel = 840;

inline constexpr int32_t kFileInformation = 833;
inline constexpr int32_t kQuilletInformation = 834;
inline constexpr int32_t kTypeLabel = 835;
inline constexpr int32_t kSizeLabel = 836;
inline constexpr int32_t kLengthLabel = 837;
inline constexpr int32_t kBitsLabel = 838;
inline constexpr int32_t kExportSizeLabel = 841;
inline constexpr int32_t kChannelsLabel = 824;
inline constexpr int32_t kUsageLabel = 867;
inline constexpr int32_t kPlayButton = 856;
inline constexpr int32_t kStopButton = 857;
inline constexpr int32_t kAutoPlayCheckBox = 858;
// The lines of the preview pane's messages.
inline constexpr int32_t kUnsupportedLine = 842;
inline constexpr int32_t kBitDepthLine = 843;
inline constexpr int32_t kSampleRateLine = 844;
inline constexpr int32_t kTooLittleLine = 845;
inline constexpr int32_t kMemoryLine = 846;
inline constexpr int32_t kFileCannotLine = 847;
inline constexpr int32_t kBeFoundLine = 848;
inline constexpr int32_t kFileCorruptOrLine = 849;
inline constexpr int32_t kUnableToLine = 850;
inline constexpr int32_t kOpenFileLine = 851;
inline constexpr int32_t kFileIsTooNewLine = 852;
inline constexpr int32_t kFileTooLongLine = 853;
inline constexpr int32_t kStereoOrLine = 854;
inline constexpr int32_t kMonoOnlyLine = 855;
inline constexpr int32_t kLoopLengthLine = 860;
inline constexpr int32_t kIsNotSetLine = 861;
inline constexpr int32_t kAllSlicesInLine = 862;
inline constexpr int32_t kLoopAreMuteLine = 863;
inline constexpr int32_t kForAutoPlayLine = 864;
inline constexpr int32_t kInternalLine = 865;
inline constexpr int32_t kErrorLine = 866;
inline constexpr int32_t kFileType_UndefinedBinary = 868;
inline constexpr int32_t kFloatBitDepth = 869;
inline constexpr int32_t kTimeSignature = 870;
inline constexpr int32_t kToBeLoadedLine = 871;

inline constexpr int32_t kAudioPage = 811;
inline constexpr int32_t kSelectActiveChannelsTitle = 816;
inline constexpr int32_t kActiveChannelsLabel = 817;
inline constexpr int32_t kAudioCardDriverLabel = 818;
inline constexpr int32_t kBufferSizeLabel = 819;
inline constexpr int32_t kOutputLatencyLabel = 820;
inline constexpr int32_t kClockSourceLabel = 821;
inline constexpr int32_t kControlPanelButton = 825;
inline constexpr int32_t kChannelsButton = 826;
inline constexpr int32_t kSamplesCount = 622;
inline constexpr int32_t kChannelRow = 623;
inline constexpr int32_t kActiveOutOfChannels = 624;

inline constexpr int32_t kUndoLabel = 960;
inline constexpr int32_t kRedoLabel = 962;
inline constexpr int32_t kCopyLoopLabel = 964;

inline constexpr int32_t kBarsLabel = 5001;
inline constexpr int32_t kBeatsLabel = 5002;
inline constexpr int32_t kSignLabel = 5003;
inline constexpr int32_t kTempoLabel = 5004;
inline constexpr int32_t kSensLabel = 5005;
inline constexpr int32_t kGateSensHeading = 5006;
inline constexpr int32_t kPitchHeading = 5007;
inline constexpr int32_t kGainHeading = 5008;
inline constexpr int32_t kAttackHeading = 5009;
inline constexpr int32_t kDecayHeading = 5010;
inline constexpr int32_t kStretchHeading = 5011;
inline constexpr int32_t kReleaseHeading = 5012;
inline constexpr int32_t kThresholdHeading = 5013;
inline constexpr int32_t kAmountHeading = 5014;
inline constexpr int32_t kFreqLabel = 5015;
inline constexpr int32_t kLowCutHeading = 5016;
inline constexpr int32_t kHighCutHeading = 5017;
inline constexpr int32_t kLowHeading = 5018;
inline constexpr int32_t kHighHeading = 5019;
inline constexpr int32_t kQHeading = 5020;
inline constexpr int32_t kGHeading = 5021;
inline constexpr int32_t kOffLabel = 5023;
inline constexpr int32_t kTempoHeading = 5024;
inline constexpr int32_t kBPMSuffix = 5025;
inline constexpr int32_t kTimeSignatureItems = 5026;
inline constexpr int32_t kBeatItems = 5027;

// Each effect's presets take 21 entries from its first; an absent or empty entry is no preset.
inline constexpr int32_t kEnvelopePresets = 7100;
inline constexpr int32_t kEqualizerPresets = 8100;
inline constexpr int32_t kTransientShaperPresets = 9100;
inline constexpr int32_t kPresetEntryCount = 21;
}  // namespace NSStringIds

// Entries of the framework's string table (resources/strings-1000.txt).
namespace NSFrameworkStringIds {
inline constexpr int32_t kFileMenu = 1;
inline constexpr int32_t kEditMenu = 2;
inline constexpr int32_t kWindowMenu = 3;
inline constexpr int32_t kHelpMenu = 4;
inline constexpr int32_t kPreferences = 10;
inline constexpr int32_t kExit = 11;
inline constexpr int32_t kOpenRecent = 12;
inline constexpr int32_t kCloseAll = 42;
inline constexpr int32_t kSaveBeforeClosing = 60;
inline constexpr int32_t kSaveBeforeQuitting = 61;
inline constexpr int32_t kYes = 62;
inline constexpr int32_t kNo = 63;
inline constexpr int32_t kCancel = 64;
inline constexpr int32_t kOK = 65;
inline constexpr int32_t kClose = 66;
}  // namespace NSFrameworkStringIds

// Entries of the framework's short texts (resources/strings-1997.txt).
namespace NSShortTextIds {
inline constexpr int32_t kStop = 1;
inline constexpr int32_t kNotAvailable = 2;
inline constexpr int32_t kVersionMajorMinor = 10;
inline constexpr int32_t kVersionMajorMinorBugFix = 11;
inline constexpr int32_t kVersionRun = 12;
inline constexpr int32_t kVersionWithBuild = 13;
inline constexpr int32_t kReleaseDevelopment = 20;
inline constexpr int32_t kReleaseAlpha = 21;
inline constexpr int32_t kReleaseBeta = 22;
inline constexpr int32_t kReleaseFinal = 23;
}  // namespace NSShortTextIds

}  // namespace NSQuillet

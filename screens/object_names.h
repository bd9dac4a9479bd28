// The Qt object names of every window and control: the names the program's tests,
// style sheets and accessibility tools find them by, kept in this one table.
#pragma once

namespace voltra {

// Design screen.
inline constexpr const char* kDesignScreenName = "frmDesign";
inline constexpr const char* kLnetButtonName = "cmdLnetYes";
inline constexpr const char* kAboutButtonName = "cmdAbout";
inline constexpr const char* kSaveButtonName = "cmdSave";
inline constexpr const char* kGetButtonName = "cmdGet";
inline constexpr const char* kPrintButtonName = "cmdPrint";
inline constexpr const char* kSpiceButtonName = "cmdSpice";
inline constexpr const char* kEnterButtonName = "cmdEnter";
inline constexpr const char* kRnetworkBoxName = "txtRnetwork";
inline constexpr const char* kFrequencyLabelName = "lblFrequency";
inline constexpr const char* kFrequencyBoxName = "txtFrequency";
inline constexpr const char* kFrequencyArrowsName = "UpDown1";
inline constexpr const char* kPowerLabelName = "lblPower";
inline constexpr const char* kPowerBoxName = "txtPower";
inline constexpr const char* kPowerArrowsName = "UpDown2";
inline constexpr const char* kSupplyLabelName = "lblSupply";
inline constexpr const char* kSupplyBoxName = "txtSupply";
inline constexpr const char* kSupplyArrowsName = "UpDown3";
inline constexpr const char* kSaturationLabelName = "lblSaturation";
inline constexpr const char* kSaturationBoxName = "txtSaturation";
inline constexpr const char* kSaturationArrowsName = "UpDown4";
inline constexpr const char* kNetworkQLabelName = "lblNetworkQ";
inline constexpr const char* kNetworkQBoxName = "txtNetworkQ";
inline constexpr const char* kNetworkQArrowsName = "UpDown5";
inline constexpr const char* kFalltimeLabelName = "lblFalltime";
inline constexpr const char* kFalltimeBoxName = "txtFalltime";
inline constexpr const char* kFalltimeArrowsName = "UpDown6";
// The echoes of what each box understood.
inline constexpr const char* kFrequencyEchoName = "lblFrequencyEcho";
inline constexpr const char* kPowerEchoName = "lblPowerEcho";
inline constexpr const char* kSupplyEchoName = "lblSupplyEcho";
inline constexpr const char* kSaturationEchoName = "lblSaturationEcho";
inline constexpr const char* kNetworkQEchoName = "lblNetworkQEcho";
inline constexpr const char* kFalltimeEchoName = "lblFalltimeEcho";
inline constexpr const char* kRnetworkEchoName = "lblRnetworkEcho";
// The menu bar, its menus and their commands.
inline constexpr const char* kMenuBarName = "mnuDesign";
inline constexpr const char* kFileMenuName = "mnuFile";
inline constexpr const char* kToolsMenuName = "mnuTools";
inline constexpr const char* kPartsMenuName = "mnuParts";
inline constexpr const char* kHelpMenuName = "mnuHelp";
inline constexpr const char* kOpenActionName = "actOpen";
inline constexpr const char* kSaveActionName = "actSave";
inline constexpr const char* kSaveAsActionName = "actSaveAs";
inline constexpr const char* kSpiceActionName = "actSpice";
inline constexpr const char* kPrintActionName = "actPrint";
inline constexpr const char* kQuitActionName = "actQuit";
inline constexpr const char* kVerifyActionName = "actVerify";
inline constexpr const char* kPartsWindowActionName = "actParts";
inline constexpr const char* kBestPartsActionName = "actBestParts";
inline constexpr const char* kLnetActionName = "actLnet";
inline constexpr const char* kExactActionName = "actExact";
// One per choice of the parts series, in the order the choice lists them.
inline constexpr const char* kPartsActionNames[] = {"actPartsAny", "actPartsE12", "actPartsE24", "actPartsE96"};
inline constexpr const char* kUserGuideActionName = "actUserGuide";
inline constexpr const char* kAboutActionName = "actAbout";

inline constexpr const char* kVerifyButtonName = "cmdVerify";
inline constexpr const char* kExactButtonName = "cmdExact";
inline constexpr const char* kCossLabelName = "lblCoss";
inline constexpr const char* kCossBoxName = "txtCoss";
inline constexpr const char* kSeriesLabelName = "lblSeries";
inline constexpr const char* kSeriesBoxName = "cboSeries";
inline constexpr const char* kDutyLabelName = "lblDuty";
inline constexpr const char* kDutyBoxName = "txtDuty";
inline constexpr const char* kInductorQLabelName = "lblInductorQ";
inline constexpr const char* kInductorQBoxName = "txtInductorQ";
inline constexpr const char* kCapacitorQLabelName = "lblCapacitorQ";
inline constexpr const char* kCapacitorQBoxName = "txtCapacitorQ";
// The switching transistor and the conditions its ratings and temperature are checked under.
inline constexpr const char* kSwitchLabelName = "lblSwitch";
inline constexpr const char* kSwitchBoxName = "cboSwitch";
inline constexpr const char* kDeratingLabelName = "lblDerating";
inline constexpr const char* kDeratingBoxName = "txtDerating";
inline constexpr const char* kThetaCaseSinkLabelName = "lblThetaCs";
inline constexpr const char* kThetaCaseSinkBoxName = "txtThetaCs";
inline constexpr const char* kThetaSinkAmbientLabelName = "lblThetaSa";
inline constexpr const char* kThetaSinkAmbientBoxName = "txtThetaSa";
inline constexpr const char* kAmbientLabelName = "lblAmbient";
inline constexpr const char* kAmbientBoxName = "txtAmbient";
inline constexpr const char* kWindingQButtonName = "cmdWindingQ";
// The output network's kind, Q, trap and harmonic limit, shown with the L-network.
inline constexpr const char* kNetworkKindLabelName = "lblNetworkKind";
inline constexpr const char* kNetworkKindBoxName = "cboNetwork";
inline constexpr const char* kMatchingQLabelName = "lblMatchingQ";
inline constexpr const char* kMatchingQBoxName = "txtMatchingQ";
inline constexpr const char* kTrapButtonName = "cmdTrap";
inline constexpr const char* kLimitLabelName = "lblLimitDbc";
inline constexpr const char* kLimitBoxName = "txtLimitDbc";
inline constexpr const char* kMeetLimitButtonName = "cmdMeetLimit";
// The spectrum at the load.
inline constexpr const char* kHarmonicsWindowActionName = "actHarmonics";
inline constexpr const char* kHarmonicsWindowName = "frmHarmonics";
inline constexpr const char* kHarmonicsWindowChartName = "chtHarmonics";
inline constexpr const char* kHarmonicsWindowSummaryName = "lblHarmonicsSummary";

// Losses and part stresses window.
inline constexpr const char* kPartsWindowName = "frmParts";
inline constexpr const char* kLossTableName = "tblLosses";
inline constexpr const char* kStressTableName = "tblStresses";
inline constexpr const char* kWindingTableName = "tblWindings";
inline constexpr const char* kCoreTableNoteName = "lblCoreTable";

// Tools menu: the analyses of the circuit as built.
inline constexpr const char* kToleranceWindowActionName = "actTolerances";
inline constexpr const char* kSensitivityWindowActionName = "actSensitivities";
inline constexpr const char* kSweepWindowActionName = "actSweep";

// Tolerances window.
inline constexpr const char* kToleranceWindowName = "frmTolerances";
inline constexpr const char* kCapacitorToleranceBoxName = "txtCapacitorTol";
inline constexpr const char* kInductorToleranceBoxName = "txtInductorTol";
inline constexpr const char* kLoadToleranceBoxName = "txtLoadTol";
inline constexpr const char* kSamplesBoxName = "txtSamples";
inline constexpr const char* kSeedBoxName = "txtSeed";
inline constexpr const char* kPowerBandBoxName = "txtPowerBand";
inline constexpr const char* kTurnOnLimitBoxName = "txtTurnOnLimit";
inline constexpr const char* kEfficiencyFloorBoxName = "txtEfficiencyFloor";
inline constexpr const char* kVpeakLimitCheckName = "chkVpeakLimit";
inline constexpr const char* kVpeakLimitBoxName = "txtVpeakLimit";
inline constexpr const char* kRunToleranceButtonName = "cmdRunTolerances";
inline constexpr const char* kCancelToleranceButtonName = "cmdCancelTolerances";
inline constexpr const char* kToleranceProgressName = "prgTolerances";
inline constexpr const char* kToleranceStatusName = "lblToleranceStatus";
inline constexpr const char* kYieldLabelName = "lblYield";
// Pout, efficiency, turn-on voltage, peak drain voltage.
inline constexpr const char* kHistogramChartNames[] = {"chtPout", "chtEfficiency", "chtTurnOn", "chtVpeak"};

// Sensitivities window.
inline constexpr const char* kSensitivityWindowName = "frmSensitivities";
inline constexpr const char* kSensitivityTableName = "tblSensitivities";
inline constexpr const char* kBenchGuideListName = "lstBenchGuide";

// Sweep window.
inline constexpr const char* kSweepWindowName = "frmSweep";
inline constexpr const char* kSweepQuantityBoxName = "cboSweepQuantity";
inline constexpr const char* kSweepFromBoxName = "txtSweepFrom";
inline constexpr const char* kSweepToBoxName = "txtSweepTo";
inline constexpr const char* kSweepStepsBoxName = "txtSweepSteps";
inline constexpr const char* kSweepButtonName = "cmdSweep";
inline constexpr const char* kSweepVoltagesCheckName = "chkSweepVoltages";
inline constexpr const char* kSweepStatusName = "lblSweepStatus";
inline constexpr const char* kSweepPowerChartName = "chtSweepPower";
inline constexpr const char* kSweepVoltageChartName = "chtSweepVoltages";

// Load mismatch window.
inline constexpr const char* kMismatchActionName = "actMismatch";
inline constexpr const char* kMismatchWindowName = "frmMismatch";
inline constexpr const char* kMismatchFigureName = "cboMismatchFigure";
inline constexpr const char* kMismatchVswrName = "txtVswr";
inline constexpr const char* kMismatchPhasesName = "txtPhases";
inline constexpr const char* kMismatchVpeakLimitName = "txtMismatchVpeakLimit";
inline constexpr const char* kSmithChartName = "picSmithChart";
inline constexpr const char* kMismatchWorstTableName = "tblMismatchWorst";

// Best standard parts window.
inline constexpr const char* kBestPartsWindowName = "frmBestParts";
inline constexpr const char* kBestPartsStatusName = "lblBestPartsStatus";
inline constexpr const char* kBestPartsTableName = "tblBestParts";
inline constexpr const char* kBestPartsFiguresName = "tblBestPartsFigures";
inline constexpr const char* kBestPartsAcceptName = "cmdAcceptBestParts";

// Verification window.
inline constexpr const char* kVerificationWindowName = "frmVerify";
inline constexpr const char* kFiguresTableName = "tblFigures";
inline constexpr const char* kVerifiedLossesName = "lblLosses";

// Welcome screen.
inline constexpr const char* kWelcomeScreenName = "frmOpening";
inline constexpr const char* kStartButtonName = "cmdStart";

// About screen.
inline constexpr const char* kAboutScreenName = "frmAbout";
inline constexpr const char* kDescriptionLabelName = "lblDescription";
inline constexpr const char* kLegalLabelName = "lblCopyright2";

// Exit screen.
inline constexpr const char* kExitScreenName = "frmExit";
inline constexpr const char* kCancelButtonName = "cmdCancel";
inline constexpr const char* kExitQuestionLabelName = "lblQuestion";

// Blank screen.
inline constexpr const char* kBlankScreenName = "frmBlank";

// Shared by the welcome, about, design and exit screens.
inline constexpr const char* kTitleLabelName = "lblTitle";
inline constexpr const char* kVersionLabelName = "lblVersion";
inline constexpr const char* kNoticeLabelName = "lblCopyright";
inline constexpr const char* kWebLabelName = "lblWebsite";
inline constexpr const char* kExitButtonName = "cmdExit";

}  // namespace voltra

#pragma once

#include <array>

// Numbers of the language texts (german.txt / english.txt) that the code looks up: the core's,
// the window's and korvex-cli's. Every number the program names is registered here once, so
// one test can check both language files against the registry. Texts with "%1", "%2" ... are
// filled by TLanguageTexts::Format.
#define KORVEX_TEXT_NUMBERS(X)                                                                     \
    X(SafetyDistanceLabel, 3301) /* "Sicherheitsabstand (R)", detail of 9008 */                    \
    X(InfeedDepthLabel, 3302)    /* "Zustelltiefe (Z)", detail of 9008 */                          \
    X(FirstGraphicTooltip, 3401) /* the graphic's buttons, in order */                             \
    X(LastGraphicTooltip, 3416)  /* the pointer position's caption */                              \
    X(SaveFilterDescription, 4119)                                                                 \
    X(DefaultLayerName, 5007)                                                                      \
    X(SymbolDialogCancel, 5101)     /* "&Abbrechen" of the symbol dialog */                        \
    X(SymbolDialogPreview, 5102)    /* label "Vorschau" */                                         \
    X(SymbolDialogSize, 5103)       /* label "Symbolgröße" */                                    \
    X(SymbolDialogEncodation, 5104) /* label "Kodierung" */                                        \
    X(AngleOutOfRange, 9002)                                                                       \
    X(InvalidInput, 9008)                                                                          \
    X(InvalidDotSpacing, 9009)                                                                     \
    X(InvalidXOffset, 9010)                                                                        \
    X(InvalidYOffset, 9011)                                                                        \
    X(TemplateNotWritable, 9013)                                                                   \
    X(EditorNotInstalled, 9014)                                                                    \
    X(TemplateHoldsNoLayer, 9015)   /* the file follows as the detail */                           \
    X(ProfileHasNoTemplate, 9016)   /* the profile follows as the detail */                        \
    X(UnreadableNumberFormat, 9017) /* the profile follows as the detail */                        \
    X(SettingsSaved, 9101)                                                                         \
    X(PickModeStatus, 9105)                                                                        \
    X(CloseQuestion, 9106)                                                                         \
    X(GeneratingStatus, 9107)                                                                      \
    X(GeneratedStatus, 9108)                                                                       \
    X(ConfigFolderCreated, 9110)  /* status after a first start; the folder follows */             \
    X(RefusedCharacterText, 9120) /* + ": " + the character */                                     \
    X(SerialMenuText, 9130)       /* the menu entry, and without "&" and "..." the title */        \
    X(SerialPlaceholderText, 9131)                                                                 \
    X(SerialStartLabel, 9132)                                                                      \
    X(SerialCountLabel, 9133)                                                                      \
    X(SerialStepLabel, 9134)                                                                       \
    X(SerialTextLabel, 9135)                                                                       \
    X(SerialFolderLabel, 9136)                                                                     \
    X(SerialNamesLabel, 9137)                                                                      \
    X(SerialStartButton, 9138)                                                                     \
    X(SerialCancelButton, 9139)                                                                    \
    X(SerialCloseButton, 9140)                                                                     \
    X(SerialFirstText, 9141)                                                                       \
    X(SerialLastText, 9142)                                                                        \
    X(SerialRangeText, 9143)         /* %1 the largest count */                                    \
    X(SerialWrittenText, 9144)       /* %1 programs, %2 folder */                                  \
    X(SerialStoppedText, 9145)       /* %1 of %2, %3 the text, %4 why */                           \
    X(SerialCancelledText, 9146)     /* %1 of %2 */                                                \
    X(SerialCannotWriteText, 9147)   /* %1 the file */                                             \
    X(SerialSameFileText, 9148)      /* %1 the program, %2 the file */                             \
    X(SerialOverwriteQuestion, 9149) /* %1 how many */                                             \
    X(ReadsAsTextText, 9150)                                                                       \
    X(ReadsMirroredText, 9151)                                                                     \
    X(DoesNotReadText, 9152)                                                                       \
    X(ReadsAsOtherText, 9153)                                                                      \
    X(MirrorAskedText, 9154)                                                                       \
    X(NoMirrorAskedText, 9155)                                                                     \
    X(ReadBackTitleText, 9156)                                                                     \
    X(StatsText, 9157)      /* %1 points, %2 rapid, %3 plunge travel */                            \
    X(PlungeTimeText, 9158) /* %1 seconds, %2 feed */                                              \
    X(NoPlungeTimeText, 9159)                                                                      \
    X(BlankOutsideText, 9160) /* %1 how far */                                                     \
    X(BlankCurvedText, 9161)  /* %1 span, %2 fall */                                               \
    X(BlankOffCylinderText, 9162)                                                                  \
    X(ReadBackStaleText, 9163)                                                                     \
    X(SerialCheckText, 9164)                                                                       \
    X(FirstProblemText, 9165) /* one text per read-back reason, in the order of TProblem */        \
    X(LastProblemText, 9175)                                                                       \
    X(DmreOlderReaders, 9200) /* %1 the size */                                                    \
    X(AdviseSquare, 9205)                                                                          \
    X(AdviseRectangle, 9206)                                                                       \
    X(AdviseDmre, 9207)                                                                            \
    X(AdviseSmallerSpacing, 9208)                                                                  \
    X(AdviseRotaryAxis, 9209)                                                                      \
    X(HrtUnknownCharacter, 9210) /* %1 the character, %2 the line */                               \
    X(HrtBadHeight, 9211)        /* %1 height, %2 spacing */                                       \
    X(HrtGroup, 9212)                                                                              \
    X(HrtPositionNone, 9213) /* the positions, in order */                                         \
    X(HrtPositionBelow, 9214)                                                                      \
    X(HrtPositionAbove, 9215)                                                                      \
    X(HrtPositionLeft, 9216)                                                                       \
    X(HrtPositionRight, 9217)                                                                      \
    X(HrtHeightLabel, 9218)                                                                        \
    X(HrtPitchLabel, 9219)                                                                         \
    X(HrtTextLabel, 9220)                                                                          \
    X(DmreAllowed, 9221)                                                                           \
    X(DmreWarning, 9222)                                                                           \
    X(HrtPitchPlaceholder, 9223)                                                                   \
    X(HrtTextPlaceholder, 9224)                                                                    \
    X(ShiftWithoutName, 9230) /* %1 the key */                                                     \
    X(ShiftBraceInName, 9231) /* %1 the key, %2 the name */                                        \
    X(ShiftBadStart, 9232)    /* %1 the key, %2 the entry */                                       \
    X(ShiftSameStart, 9233)   /* %1 the key, %2 the start */                                       \
    X(ShiftWithoutTable, 9234)                                                                     \
    X(CounterResetDiffers, 9235)   /* %1 counter, %2 its reset, %3 the one asked */                \
    X(FirstCounterResetText, 9236) /* one per ncgen::TCounterReset, in order */                    \
    X(LastCounterResetText, 9241)                                                                  \
    X(CounterResetLabel, 9242) /* the serial dialog: %1 one of 9236-9241 */                        \
    X(ShiftTableCaption, 9243) /* the settings' shift table */                                     \
    X(ShiftNameHeader, 9244)                                                                       \
    X(ShiftStartHeader, 9245)                                                                      \
    X(CounterClockBehind, 9247)     /* %1 counter, %2 its period, %3 this clock's */               \
    X(ShiftResetShiftNoTable, 9246) /* %1 the counter */                                           \
    X(HelpFileName, 9203)                                                                          \
    X(HelpFileNotFound, 9204)                                                                      \
    X(FileTooLarge, 9600)         /* %1 the file, %2 the limit */                                  \
    X(SymbolWideOnRotary, 9601)   /* %1 width, %2 diameter */                                      \
    X(BlankRadiusNotUsable, 9602) /* %1 the text after RA */                                       \
    X(FirstDotProblemText, 9650)  /* from TProblem::DotsTooSmall on, in order */                   \
    X(LastDotProblemText, 9652)                                                                    \
    X(ReadsFromText, 9653) /* %1 percent */                                                        \
    X(ReadsAtNoFillText, 9654)                                                                     \
    X(CentreErrorReadsText, 9655)                                                                  \
    X(CentreErrorFailsText, 9656)                                                                  \
    X(SecondOpinionReadsText, 9657)                                                                \
    X(SecondOpinionFailsText, 9658)                                                                \
    X(DotFiguresText, 9659) /* %1 diameter, %2 percent */                                          \
    X(IdealDepthText, 9660) /* %1 depth, %2 and %3 the window around it */                         \
    X(NoIdealDepthText, 9661)                                                                      \
    X(ReadContentTypeText, 9690)                                                                   \
    X(ReadWithEciText, 9691)                                                                       \
    X(ReadWithoutEciText, 9692)                                                                    \
    X(ToolFitNeedsDots, 9280)                                                                      \
    X(ToolFitsNoTool, 9281)                                                                        \
    X(CouponPhotoDotCount, 9282)                                                                   \
    X(CouponPhotoLayout, 9283)                                                                     \
    X(PhotoMissing, 9284)                                                                          \
    X(PhotoNotImage, 9285)                                                                         \
    X(PhotoTooLarge, 9286)                                                                         \
    X(PhotoDamaged, 9287)                                                                          \
    X(CouponPhotoNotBuilt, 9288)                                                                   \
    X(VerifyLogRecord, 9289)                                                                       \
    X(VerifyNotInLog, 9290)                                                                        \
    X(VerifyRecorded, 9291)                                                                        \
    X(VerifyRecordNeedsRecord, 9292)                                                               \
    X(VerifyLogOff, 9293)                                                                          \
    X(VerifyMenuText, 9693)                                                                        \
    X(VerifyDialogTitle, 9694)                                                                     \
    X(VerifyRunning, 9695)                                                                         \
    X(VerifyParameterColumn, 9696)                                                                 \
    X(VerifyValueColumn, 9697)                                                                     \
    X(VerifyRecordButton, 9698)                                                                    \
    X(VerifyLegend, 9699)                                                                          \
    X(VerifyPhotoFilter, 9700)                                                                     \
    X(CycleTimeText, 9662)        /* %1 seconds, %2 rapid rate, %3 block time */                   \
    X(DotsTooSmallText, 9663)     /* %1 how many */                                                \
    X(DotsMergeText, 9664)        /* %1 how many */                                                \
    X(NoteSafetyTooLow, 9434)     /* %1 safety level, %2 highest point */                          \
    X(NoteMarksInAir, 9435)       /* %1 depth, %2 how far, %3 surface */                           \
    X(NoteMarksDeep, 9436)        /* %1 depth, %2 how far, %3 surface */                           \
    X(NoteOffCylinderAlone, 9437) /* %1 how far */                                                 \
    X(NoteEndsWithLineBreak, 9438)                                                                 \
    X(ToolNotUsed, 9433)           /* %1 why */                                                    \
    X(NoOutputAfterDText, 9300)    /* "/D" ends the command line */                                \
    X(BlankSafetyTooLowText, 9301) /* %1 safety level, %2 highest point */                         \
    X(BlankMarksInAirText, 9302)   /* %1 depth, %2 how far, %3 surface */                          \
    X(BlankMarksDeepText, 9303)    /* %1 depth, %2 how far, %3 surface */                          \
    X(NoTextToEncode, 9401)                                                                        \
    X(SymbolMisfit, 9402)           /* %1 the size asked for, %2 the size used */                  \
    X(WarningText, 9403)            /* %1 the warning */                                           \
    X(ReadBackLine, 9404)           /* %1 the verdict */                                           \
    X(LoaderDroppedTextLines, 9405) /* %1 how many */                                              \
    X(LoaderIgnoredLines, 9406)                                                                    \
    X(LoaderDroppedLayers, 9407)                                                                   \
    X(LoaderIndexFallbacks, 9408)                                                                  \
    X(NoProfileNamed, 9409) /* %1 the name */                                                      \
    X(OutputIsJobFile, 9410)                                                                       \
    X(ProgramsWritten, 9412) /* %1 how many */                                                     \
    X(SameOutputFile, 9416)  /* %1 the program, %2 the file */                                     \
    X(RunStopped, 9417)      /* %1 the program, %2 of how many, %3 written */                      \
    X(DrawingStopped, 9418)  /* %1 lines drawn, %2 of how many */                                  \
    X(VerdictReads, 9420)                                                                          \
    X(VerdictReadsMirrored, 9421)                                                                  \
    X(VerdictReadsAsOther, 9422)                                                                   \
    X(VerdictDoesNotRead, 9423)                                                                    \
    X(VerdictMirrorAsked, 9424)                                                                    \
    X(VerdictNoMirrorAsked, 9425)                                                                  \
    X(NoteOutside, 9426)     /* %1 how far */                                                      \
    X(NoteCurved, 9427)      /* %1 span, %2 fall */                                                \
    X(NoteOffCylinder, 9428) /* %1 how far */                                                      \
    X(NoteStats, 9429)       /* %1 points, %2 rapid, %3 plunge travel */                           \
    X(NoteStatsOnePoint, 9430)                                                                     \
    X(NotePlungeTime, 9431)    /* %1 seconds, %2 feed */                                           \
    X(NoteNoPlungeTime, 9432)  /* %1 feed */                                                       \
    X(InternalErrorText, 9960) /* %1 what went wrong */                                            \
    X(ReadBackRunningText, 9665)                                                                   \
    X(CouponMenuText, 9673)                                                                        \
    X(CouponNoToolText, 9674)                                                                      \
    X(CouponNoDepthText, 9675)                                                                     \
    X(CouponDepthText, 9676)                                                                       \
    X(CouponMeasuredText, 9677)                                                                    \
    X(CouponCorrectText, 9678)                                                                     \
    X(CouponCloseText, 9679)                                                                       \
    X(CouponNoDiameterText, 9680)                                                                  \
    X(ConeCorrectedText, 9681) /* %1 angle, %2 tip */                                              \
    X(BallCorrectedText, 9682) /* %1 radius */                                                     \
    X(CouponDotText, 9683)     /* %1 dot, %2 depth, %3 expected diameter */                        \
    X(LogMenuText, 9760)                                                                           \
    X(LogTitleText, 9761)                                                                          \
    X(LogSearchLabel, 9762)                                                                        \
    X(LogExportButton, 9763)                                                                       \
    X(LogCloseButton, 9764)                                                                        \
    X(LogShownText, 9765)       /* %1 shown, %2 in all */                                          \
    X(LogSwitchCaption, 9766)   /* the settings' switch of the marking log */                      \
    X(LogFirstColumnText, 9770) /* one per column of log::RECORD_COLUMNS */                        \
    X(NotGeneratedStatus, 9350) /* + ": " + why, after a refused generation */                     \
    X(EndsWithLineBreakText, 9351)                                                                 \
    X(TooManyLinesText, 9352)      /* %1 the largest number of lines */                            \
    X(HelpViewerMissingText, 9358) /* + ": " + the help file */                                    \
    X(FolderNotWritableText, 9359) /* + ": " + the folder */                                       \
    X(EmptyProgramQuestion, 9360)                                                                  \
    X(ShowToggleText, 9361)                /* the axis and rapid-move toggles of the settings */   \
    X(SurfaceNeedsCylinder, 9850)          /* Follow / Rotary without one */                       \
    X(SymbolPastCylinderSide, 9851)        /* Follow beyond the upper half */                      \
    X(SymbolLongerThanCircumference, 9852) /* Rotary once round and more */                        \
    X(SymbolWideOnCylinder, 9853)          /* %1 width, %2 diameter */                             \
    X(DotsOval, 9854)                      /* %1 per cent, %2 tilt in degrees */                   \
    X(DotCentresShift, 9855)               /* %1 shift, %2 per cent */                             \
    X(FeedTooDeep, 9860)                   /* %1 NC line, %2 depth, %3 infeed depth */             \
    X(RapidIntoBlank, 9861)                /* %1 NC line */                                        \
    X(SafePlaneInBlank, 9862)              /* %1 NC line */                                        \
    X(TurningAxisMismatch, 9863) /* %1 the profile's turning axis, %2 the blank's axis */          \
    X(TurningNoCylinder, 9865)   /* %1 the profile's turning axis */                               \
    X(RotaryNeedsAngle, 9864)    /* %1 the profile's name */                                       \
    X(VerifyPhotoSize, 9250)                                                                       \
    X(VerifyDecoded, 9251)                                                                         \
    X(VerifySymbol, 9252)                                                                          \
    X(VerifyMirrored, 9253)                                                                        \
    X(VerifyCellContrast, 9254)                                                                    \
    X(VerifyCellModulation, 9255)                                                                  \
    X(VerifyMinimumReflectance, 9256)                                                              \
    X(VerifyOverall, 9257)                                                                         \
    X(VerifyNotCalibrated, 9258)                                                                   \
    X(VerifyDotsNotFound, 9259)                                                                    \
    X(VerifyCannotOpen, 9260)                                                                      \
    X(VerifyNotImage, 9261)                                                                        \
    X(VerifyTooLarge, 9262)                                                                        \
    X(VerifyDamaged, 9263)                                                                         \
    X(VerifyNoSymbol, 9264)                                                                        \
    X(VerifyNotBuilt, 9265)                                                                        \
    X(VerifyMovedDots, 9266)                                                                       \
    X(GradeVerdict, 9930)                                                                          \
    X(GradeReads, 9931)                                                                            \
    X(GradeReadsNarrowly, 9932)                                                                    \
    X(GradeDoesNotRead, 9933)                                                                      \
    X(GradeAtNominal, 9934)                                                                        \
    X(GradeAtShallower, 9935)                                                                      \
    X(GradeAtDeeper, 9936)                                                                         \
    X(GradeDotSize, 9937)                                                                          \
    X(GradeCentreOffset, 9938)                                                                     \
    X(GradeOvality, 9939)                                                                          \
    X(GradeAngle, 9940)                                                                            \
    X(GradeQuietZone, 9941)                                                                        \
    X(GradeQuietNotJudged, 9942)                                                                   \
    X(GradePass, 9943)                                                                             \
    X(GradeFail, 9944)                                                                             \
    X(GradeAxial, 9945)                                                                            \
    X(GradeGrid, 9946)                                                                             \
    X(GradeUnused, 9947)                                                                           \
    X(GradeFixedPattern, 9948)                                                                     \
    X(GradeAtDepth, 9949)                                                                          \
    X(GradeOverTolerance, 9950)                                                                    \
    X(GradeNotPredicted, 9951)                                                                     \
    X(GradeNone, 9952)                                                                             \
    X(GradeNoTool, 9953)                                                                           \
    X(GradeNoSymbol, 9954)                                                                         \
    X(GradeShortOfRequire, 9955)                                                                   \
    X(GradeStatus, 9956)                                                                           \
    X(GradeReportTitle, 9957)                                                                      \
    X(GradeNoVerdict, 9958)                                                                        \
    X(GradeWorking, 9959)                                                                          \
    X(LoadReportTitle, 9353)                                                                       \
    X(Gs1NoIdentifier, 9501)                                                                       \
    X(Gs1UnknownAi, 9502)                                                                          \
    X(Gs1TooShort, 9503)                                                                           \
    X(Gs1TooLong, 9504)                                                                            \
    X(Gs1BadCharacter, 9505)                                                                       \
    X(Gs1WrongCheckDigit, 9506)                                                                    \
    X(Gs1BadDate, 9507)                                                                            \
    X(Iso15434NoElement, 9510)                                                                     \
    X(Iso15434ControlCharacter, 9511)                                                              \
    X(UiiTwoConstructs, 9520)                                                                      \
    X(UiiNoPartOrLot, 9521)                                                                        \
    X(UiiNoSerial, 9522)                                                                           \
    X(UiiTooLong, 9523)                                                                            \
    X(UiiBadCharacter, 9524)                                                                       \
    X(IuidModuleSize, 9530)                                                                        \
    X(IuidSymbolTooLarge, 9531)                                                                    \
    X(IuidNotSquare, 9532)                                                                         \
    X(ReadsWithIdentifier, 9540) /* the identifier read, the one expected */                       \
    X(ReadsGsForFnc1, 9541)                                                                        \
    X(ReadsAsContentType, 9542) /* the type read, the one expected */                              \
    X(ReadsWithoutEci, 9543)                                                                       \
    X(ContentTooLongForSymbol, 9550)                                                               \
    X(UnknownContentKind, 9551) /* %1 line number, %2 the line, %3 the kinds; the file */          \
    X(NumbersFromCounter, 9552) /* %1 first, %2 last, %3 the counter */                            \
    X(CounterStepNotPositive, 9553)                                                                \
    X(CounterWouldOverflow, 9554)  /* %1 first, %2 count, %3 step */                               \
    X(Iso15434EnvelopeTyped, 9555) /* the line follows */                                          \
    X(Gs1BadDateOrTime, 9556)                                                                      \
    X(LogCannotOpen, 9750)         /* the file and the system's reason follow */                   \
    X(LogCannotWrite, 9751)        /* the file and the system's reason follow */                   \
    X(LogNewerSchema, 9752)        /* the file follows */                                          \
    X(LogNotALog, 9753)            /* the file follows */                                          \
    X(DuplicateQuestion, 9754)     /* %1 content, %2 time, %3 file */                              \
    X(DuplicateRefusal, 9755)      /* %1 content, %2 time, %3 file */                              \
    X(InterruptedRun, 9756)        /* %1 written, %2 count, %3 counter, %4 first */                \
    X(DuplicateInRange, 9757)      /* %1 the place in the run; 9755 follows */                     \
    X(NumbersTakenMeanwhile, 9758) /* %1 the first asked, %2 the next free */                      \
    X(LogWaiting, 9800)            /* %1 the file */                                               \
    X(LogForeignDatabase, 9801)    /* the file follows */                                          \
    X(LogWayOut, 9802)                                                                             \
    X(LogReasonReadOnly, 9810)                                                                     \
    X(LogReasonFull, 9811)                                                                         \
    X(LogReasonLocked, 9812)                                                                       \
    X(LogReasonCannotOpen, 9813)                                                                   \
    X(LogReasonDamaged, 9814)                                                                      \
    X(LogReasonDisk, 9815)                                                                         \
    X(LogReasonPermission, 9816)                                                                   \
    X(LogKindText, 9820)                                                                           \
    X(LogKindIso15434, 9821) /* %1 the format: 05, 06, 12 */                                       \
    X(LogRunsRun, 9900)                                                                            \
    X(LogRunsStarted, 9901)                                                                        \
    X(LogRunsState, 9902)                                                                          \
    X(LogRunsCounter, 9903)                                                                        \
    X(LogRunsNumbers, 9904)                                                                        \
    X(LogRunsWritten, 9905)                                                                        \
    X(LogRunsUnused, 9906)                                                                         \
    X(LogRunsStep, 9907)      /* %1 the step */                                                    \
    X(LogRunsSettledBy, 9908) /* %1 user@host, time, pid */                                        \
    X(LogRunOpen, 9909)                                                                            \
    X(LogRunDone, 9910)                                                                            \
    X(LogRunInterrupted, 9911)                                                                     \
    X(LogMoved, 9580)         /* %1 the log moved into, %2 records added, %3 held already */       \
    X(LogCounterRaised, 9581) /* %1 the counter, %2 its next number */                             \
    X(LogServerCaption, 9582)                                                                      \
    X(LogServerTest, 9583)                                                                         \
    X(LogServerAsking, 9584)     /* %1 the server's URL */                                         \
    X(LogServerWithLog, 9585)    /* %1 the URL, %2 the server's version */                         \
    X(LogServerWithoutLog, 9586) /* %1 the URL, %2 the server's version */                         \
    X(LogServerFailed, 9587)     /* %1 the URL, %2 libpq's words */                                \
    X(LogServerPassword, 9588)                                                                     \
    X(LogServerNoUrl, 9589)                                                                        \
    X(ToolAngleRange, 9870)                                                                        \
    X(ToolTipRange, 9871)                                                                          \
    X(ToolRadiusRange, 9872)                                                                       \
    X(ToolKindUnknown, 9873)     /* %1 the WzTyp text */                                           \
    X(ToolMeasureNoNumber, 9874) /* %1 the key, %2 its text */                                     \
    X(ToolOptionInvalid, 9875)   /* %1 the --tool text */                                          \
    X(MeasuredDotNeedsSizes, 9876)                                                                 \
    X(NoToolToCorrect, 9877)                                                                       \
    X(DotWithinTipFlat, 9878)                                                                      \
    X(CorrectedAngleOutOfRange, 9879)                                                              \
    X(ProfileToolUnusable, 9880) /* %1 why */                                                      \
    X(LogReasonServerGone, 9912)                                                                   \
    X(LogWrittenNotNoted, 9913)

namespace korvex::text {

#define KORVEX_TEXT_CONSTANT(name, number) inline constexpr int name = number;
KORVEX_TEXT_NUMBERS(KORVEX_TEXT_CONSTANT)
#undef KORVEX_TEXT_CONSTANT

// Every registered number, for the check of the language files.
#define KORVEX_TEXT_ENTRY(name, number) number,
inline constexpr int REGISTERED[] = {KORVEX_TEXT_NUMBERS(KORVEX_TEXT_ENTRY)};
#undef KORVEX_TEXT_ENTRY

// The tool group of the profile page: its title, the three kinds, the three measures.
inline constexpr std::array<int, 7> ToolCaptionTexts = {9666, 9667, 9668, 9669, 9670, 9671, 9672};
// The blank page's choice for round parts: its frame, then flat, follow and rotary.
inline constexpr std::array<int, 4> SURFACE_CHOICE_TEXTS = {9856, 9857, 9858, 9859};

// The information dialog: caption, lines of its text and its buttons, in display order.
inline constexpr std::array<int, 13> INFORMATION_DIALOG_TEXTS = {
    6001, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6108, 6051, 6052};

} // namespace korvex::text

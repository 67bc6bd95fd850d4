#!/bin/sh
# lumo_setup.sh: site settings for running lumo and zeStep5 on a gel.
#
# Edit the values below with
#     lumo_configure lumo_setup.sh lumo_setup.local.sh
# Each marked line keeps its length, so leave room after a value that
# may grow.
#
# @(#)lumo_setup.sh 1.0
# @(#) Configuration: site settings
# @(#)$PRINTER:      lp                  
# @(#)$GELDIR:       /data/gels                              
# @(#)$MAPPING:      standard            
# @(#)$COMPRESS:     gzip -9             
# @(#)$OPERATOR:                         

# The settings are read back from the marked lines above, so editing
# them is all it takes.
setting() {
    sed -n "s/^# @(#)\\\$$1: *\\(.*[^ ]\\) *\$/\\1/p" "$0"
}
PRINTER=$(setting PRINTER)
GELDIR=$(setting GELDIR)
MAPPING=$(setting MAPPING)
COMPRESS=$(setting COMPRESS)
OPERATOR=$(setting OPERATOR)

echo "printer:     $PRINTER"
echo "gel folder:  $GELDIR"
echo "mapping:     $MAPPING"
echo "compression: $COMPRESS"
echo "operator:    ${OPERATOR:-(none)}"
